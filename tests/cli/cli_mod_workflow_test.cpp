// The modder's round trips, on the demo and on the demo with every sector
// that holds a record filled with random bytes: get then set of every printed
// value, export then import, and A -> diff --as-import -> import.

#include "cli/EditedSectors.h"
#include "core/sector/SectorGeometry.h"
#include "core/text/Messages.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;

// The JSON pointer of a dotted key, whose list positions count from 1.
json::json_pointer pointerOf(const std::string& key) {
    std::string path;
    std::istringstream parts(key);
    for (std::string part; std::getline(parts, part, '.');) {
        const bool position = std::isdigit(static_cast<unsigned char>(part[0])) != 0;
        path += "/" + (position ? std::to_string(std::stoi(part) - 1) : part);
    }
    return json::json_pointer(path);
}

std::string repeated(std::string_view text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

class ModWorkflowTest : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        ASSERT_EQ(test::runCliHere({"make-demo", s_dir->dir()}).exitCode, 0);
        std::string bytes = readFile(s_dir->file("demo.img"));
        std::mt19937 random(1208);
        for (const SectorRange& range : cli::editedSectors(s_dir->dir())) {
            for (std::int64_t sector = range.first; sector <= range.last; ++sector) {
                const auto start = static_cast<std::size_t>(sector * sector::kSectorBytes);
                if (start + sector::kSectorBytes > bytes.size())
                    break; // the weapon table runs on past the demo's end
                for (Position at = sector::kDataBegin; at < sector::kDataFinish; ++at)
                    bytes[start + static_cast<std::size_t>(at)] = static_cast<char>(random());
            }
        }
        std::ofstream(s_dir->file("random.img"), std::ios::binary) << bytes;
        s_keys = new json(json::parse(test::runCliHere({"keys"}).out));
    }
    static void TearDownTestSuite() {
        delete s_keys;
        delete s_dir;
    }
    void SetUp() override {
        std::filesystem::copy_file(s_dir->file(GetParam() ? "random.img" : "demo.img"), m_image);
        m_before = readFile(m_image);
    }

    test::ProcessResult cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", s_dir->dir()});
        return test::runCliHere(args);
    }
    json ok(std::vector<std::string> args) const {
        const auto result = cli(std::move(args));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.exitCode == 0 ? json::parse(result.out) : json::object();
    }
    // Every field `get` printed, as KEY=VALUE: a list's stored code as #N.
    static std::vector<std::string> assignments(const json& record, const char* kind) {
        std::vector<std::string> pairs;
        for (const json& field : (*s_keys)[kind]) {
            const std::string key = field["key"];
            json value;
            try {
                value = record.at(pointerOf(key));
            } catch (const json::exception&) {
                continue; // not a field of this record (its kind, its slots)
            }
            if (value.is_null())
                continue;
            const bool list = field["kind"] == "list";
            const std::string text =
                value.is_string() ? value.get<std::string>() : (list ? "#" : "") + value.dump();
            pairs.push_back(key + "=" + text);
        }
        return pairs;
    }
    void setAsPrinted(std::vector<std::string> get, const char* kind) const {
        const json record = ok(get);
        get[1] = "set";
        const auto pairs = assignments(record, kind);
        if (pairs.empty())
            return; // a skill table without slots
        get.insert(get.end(), pairs.begin(), pairs.end());
        const auto result = cli(get);
        EXPECT_EQ(result.exitCode, 0) << get[0] << ": " << result.err;
    }
    json exported() const { return ok({"export", m_image}); }
    std::string write(const char* name, const json& document) const {
        return m_work.write(name, document.dump());
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline json* s_keys = nullptr;
    test::TempDir m_work;
    std::string m_image = m_work.file("image.img");
    std::string m_before;
};

TEST_P(ModWorkflowTest, GetThenSetOfEveryPrintedValueChangesNoByte) {
    const json all = exported();
    for (std::size_t i = 0; i < all["units"].size(); ++i)
        setAsPrinted({"unit", "get", m_image, "#" + std::to_string(i)}, "unit");
    for (std::size_t i = 0; i < all["pilots"].size(); ++i)
        setAsPrinted({"pilot", "get", m_image, "#" + std::to_string(i)}, "pilot");
    for (const json& table : all["skills"])
        setAsPrinted({"skills", "get", m_image, "#" + table["index"].dump()}, "skills");
    for (const json& weapon : all["weapons"])
        setAsPrinted({"weapon", "get", m_image, weapon["number"].dump()}, "weapon");
    setAsPrinted({"upgrade", "get", m_image}, "upgrade");
    EXPECT_TRUE(readFile(m_image) == m_before);
}

TEST_P(ModWorkflowTest, ExportThenImportChangesNoByte) {
    const json report = ok({"import", m_image, write("all.json", exported())});
    EXPECT_EQ(report["records"], json::array());
    EXPECT_EQ(report["bytes_written"], 0);
    EXPECT_TRUE(readFile(m_image) == m_before);
}

TEST_P(ModWorkflowTest, DiffAsImportReproducesTheOtherImagesRecords) {
    // B: a copy with one field of each kind of record changed.
    const std::string other = m_work.file("other.img");
    std::filesystem::copy_file(m_image, other);
    const json all = exported();
    std::mt19937 random(7);
    const auto number = [&random](int max) {
        return std::to_string(random() % static_cast<unsigned>(max));
    };
    for (std::size_t i = 0; i < all["units"].size(); ++i)
        ok({"unit", "set", other, "#" + std::to_string(i), "hp=" + number(65536), "terrain.air=C"});
    for (const json& pilot : all["pilots"]) {
        const std::string key = pilot["kind"] == "SpiritsOnly" ? "spirits.1.level=" : "melee=";
        ok({"pilot", "set", other, "#" + pilot["index"].dump(), key + number(256)});
    }
    for (const json& weapon : all["weapons"]) {
        if (weapon["attack"] == 65535 && weapon["morale"] == -1)
            continue; // listed by random bytes, past the image's end
        ok({"weapon", "set", other, weapon["number"].dump(), "attack=" + number(65536),
            "critical=10"});
    }
    ok({"upgrade", "set", other, "type_b.7=" + number(65536)});

    const std::string document =
        m_work.write("mod.json", cli({"diff", m_image, other, "--as-import"}).out);
    const json dry = ok({"import", m_image, document, "--dry-run"});
    EXPECT_FALSE(dry["records"].empty());
    EXPECT_TRUE(readFile(m_image) == m_before);
    EXPECT_EQ(ok({"import", m_image, document})["records"], dry["records"]);

    const json after = ok({"diff", m_image, other});
    for (const char* section : {"units", "pilots", "skills", "weapons", "upgrade"})
        EXPECT_EQ(after[section], json::array()) << section;
    EXPECT_EQ(after["other_bytes"], json::array());
    EXPECT_EQ(cli({"diff", m_image, other, "--exit-code"}).exitCode, 0);
}

TEST_P(ModWorkflowTest, ImportRefusesABadDocumentWholeAndWritesNothing) {
    const json all = exported();
    const std::string unitName = all["units"][0]["name"];
    const auto statsOnly = std::find_if(all["pilots"].begin(), all["pilots"].end(),
                                        [](const json& p) { return p["kind"] == "StatsOnly"; });
    ASSERT_NE(statsOnly, all["pilots"].end());
    const std::pair<json, std::string> cases[] = {
        {{{"units", {{{"index", 99}, {"hp", 1}}}}}, "$.units[0].index"},
        {{{"units", {{{"index", 0}, {"hp", 1}}, {{"index", 1}, {"bogus", 1}}}}},
         "$.units[1].bogus: unknown key"},
        {{{"units", {{{"index", 0}, {"terrain", {{"air", "E"}}}}}}}, "$.units[0].terrain.air"},
        {{{"units", {{{"index", 0}, {"hp", 70000}}}}}, "$.units[0].hp"},
        {{{"units", {{{"index", 0}, {"hp", 1}}, {{"name", unitName}, {"hp", 2}}}}}, "given twice"},
        {{{"units", {{{"index", 0}, {"position", 1}}}}}, "$.units[0].position"},
        {{{"pilots", {{{"index", (*statsOnly)["index"]}, {"spirits", {{{"level", 3}}}}}}}},
         "StatsOnly"},
        {{{"upgrade", {{"hp", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}}}}, "$.upgrade.hp.11"},
        {{{"weapons", {{{"number", 5000}}}}}, "$.weapons[0].number"},
        {{{"spells", json::array()}}, "$.spells"},
        {{{"units", {{{"index", 0}, {"hp", json::array()}}}}},
         "$.units[0].hp: an empty list or object is no value"},
        {{{"units", {{{"index", 0}, {"hp", json::object()}}}}},
         "$.units[0].hp: an empty list or object is no value"},
        {{{"upgrade", {{"hp", {1, json::array()}}}}},
         "$.upgrade.hp.2: an empty list or object is no value"},
    };
    for (const auto& [document, expected] : cases) {
        const auto result = cli({"import", m_image, write("bad.json", document)});
        EXPECT_EQ(result.exitCode, 2) << document;
        EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
    }
    for (const char* text : {"{not json", R"({"units": [{"index": 0, "hp": 1e999}]})"})
        EXPECT_EQ(cli({"import", m_image, m_work.write("bad.json", text)}).exitCode, 2) << text;
    // A file that cannot be read fails as every unreadable file does.
    for (const std::string& unreadable : {m_work.file("missing.json"), m_work.path().string()}) {
        const auto result = cli({"import", m_image, unreadable});
        EXPECT_EQ(result.exitCode, 1) << unreadable;
        EXPECT_EQ(result.err, messages::fileOpenFailure(unreadable).text + "\n");
    }
    EXPECT_TRUE(readFile(m_image) == m_before);
}

// What the parsed document no longer shows is refused while it is parsed.
TEST_P(ModWorkflowTest, ImportRefusesDeepNestingAndKeysGivenTwice) {
    const std::size_t levels = 20000;
    const std::pair<std::string, std::string> cases[] = {
        {"{\"units\": [" + std::string(levels, '[') + std::string(levels, ']') + "]}",
         "$.units" + repeated("[0]", 63) + ": nested deeper than 64 levels"},
        {R"({"units": [{"index": 0, "hp": 1, "hp": 2}]})", "$.units[0].hp: the key is given twice"},
        {R"({"upgrade": {"hp": [1]}, "upgrade": {"hp": [2]}})",
         "$.upgrade: the key is given twice"},
        // Deeper in a record, and a key equal to a sibling's value or to a
        // key of another object, which are no repeats.
        {R"({"units": [{"terrain": {"air": "air", "sea": {"air": 1}, "air": "A"}}]})",
         "$.units[0].terrain.air: the key is given twice"},
        {R"({"weapons": [{"a": {"b": [{"c": 1, "d": 2}, {"c": 3, "c": 4}]}}]})",
         "$.weapons[0].a.b[1].c: the key is given twice"},
    };
    for (const auto& [text, expected] : cases) {
        const auto result = cli({"import", m_image, m_work.write("bad.json", text)});
        EXPECT_EQ(result.exitCode, 2) << expected;
        EXPECT_EQ(result.err, "starfall-cli: " + expected + "\n");
    }
    EXPECT_TRUE(readFile(m_image) == m_before);
}

INSTANTIATE_TEST_SUITE_P(DemoAndRandomBytes, ModWorkflowTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Random" : "Demo"; });

// The README lists every key the field tables hold, list positions as N.
TEST(ModWorkflowKeys, TheReadmeListsEveryKeyOfTheFieldTables) {
    const std::string readme = readFile(STARFALL_SOURCE_DIR "/README.md");
    const auto begin = readme.find("<!-- keys -->");
    const auto end = readme.find("<!-- /keys -->");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const json keys = json::parse(test::runCliHere({"keys"}).out);
    for (const auto& [kind, fields] : keys.items()) {
        const auto row = readme.find("| " + kind + " |", begin);
        ASSERT_LT(row, end) << kind;
        const std::string line = readme.substr(row, readme.find('\n', row) - row);
        std::set<std::string> listed;
        for (std::size_t at = line.find('`'); at != std::string::npos; at = line.find('`', at)) {
            const std::size_t close = line.find('`', at + 1);
            listed.insert(line.substr(at + 1, close - at - 1));
            at = close + 1;
        }
        std::set<std::string> expected;
        for (const json& field : fields) {
            std::string key = field["key"];
            std::string shape;
            std::istringstream parts(key);
            for (std::string part; std::getline(parts, part, '.');)
                shape +=
                    (shape.empty() ? "" : ".") +
                    (std::isdigit(static_cast<unsigned char>(part[0])) ? std::string("N") : part);
            expected.insert(shape);
        }
        EXPECT_EQ(listed, expected) << kind;
    }
}

} // namespace
} // namespace starfall
