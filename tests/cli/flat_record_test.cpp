// import reads each record of its document flat, its leaves under dotted
// keys, and builds a record whole only where the leaves cannot stand for it.
// Both readings must check the same values in the same order: the same
// report, the same refusal in the same words, the same bytes written.

#include "cli/FlatRecord.h"
#include "cli/RecordView.h"
#include "core/demo/DemoBuilder.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <utility>
#include <vector>

namespace starfall {
namespace {

using nlohmann::json;
using Leaves = std::vector<std::pair<std::string, json>>;

// Feeds one object's events to a FlatRecord, as import's parse does.
struct Feed {
    cli::FlatRecord& record;
    bool null() { return scalar(nullptr); }
    bool boolean(bool value) { return scalar(value); }
    bool number_integer(json::number_integer_t value) { return scalar(value); }
    bool number_unsigned(json::number_unsigned_t value) { return scalar(value); }
    bool number_float(json::number_float_t value, const std::string&) { return scalar(value); }
    bool string(std::string& value) { return scalar(value); }
    bool binary(json::binary_t&) { return false; }
    bool start_object(std::size_t) { return open(false); }
    bool start_array(std::size_t) { return open(true); }
    bool key(std::string& name) {
        record.key(name);
        return true;
    }
    bool end_object() {
        record.close();
        return true;
    }
    bool end_array() { return end_object(); }
    bool parse_error(std::size_t, const std::string&, const json::exception&) { return false; }

    bool scalar(json value) {
        record.scalar(std::move(value));
        return true;
    }
    bool open(bool array) {
        if (record.reading())
            record.open(array);
        else
            record.start();
        return true;
    }
};

cli::FlatRecord& read(cli::FlatRecord& record, const std::string& text) {
    Feed feed{record};
    json::sax_parse(text, &feed);
    return record;
}

TEST(FlatRecord, HoldsTheLeavesVisitLeavesGivesOrSaysItCannot) {
    struct Case {
        const char* text;
        bool flat;
    };
    const Case cases[] = {
        {R"({"hp": 1, "index": 0, "name": "한"})", true},
        {R"({"a": {"b": [1, {"c": null, "d": true}], "e": -2}, "f": 2.5})", true},
        {R"({"": {"index": 7}, "a.b": 1, "x": [[1, 2], [3]]})", true},
        {R"({"name": "x", "hp": 1})", false},             // keys out of order
        {R"({"a": {"d": 1, "c": 2}, "b": 3})", false},    // out of order below
        {R"({"a": [], "b": 1})", false},                  // an empty list
        {R"({"a": [{"b": {}}], "c": 1})", false},         // an empty object below
        {R"({})", false},                                 // the record itself empty
        {R"({"index": [0], "hp": 1})", false},            // naming keys as containers
        {R"({"hp": 1, "name": {"a": "b"}})", false},      //
        {R"({"number": {"a": 1}})", false},               //
        {R"({"a": {"index": [1], "number": {"b": 2}}})", true}, // below the record they name nothing
    };
    cli::FlatRecord record;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        read(record, c.text);
        ASSERT_FALSE(record.reading());
        EXPECT_EQ(record.flat(), c.flat);
        const json parsed = json::parse(c.text);
        if (c.flat) {
            Leaves expected;
            cli::visitLeaves(parsed, [&](const std::string& key, const json& value) {
                expected.emplace_back(key, value);
            });
            Leaves got;
            record.visit([&](std::string_view key, const json& value) {
                got.emplace_back(std::string(key), value);
            });
            EXPECT_EQ(got, expected);
            for (const char* key : {"index", "name", "number", "a", "hp"}) {
                const json* top = record.top(key);
                const bool plain = parsed.contains(key) && !parsed[key].is_structured();
                ASSERT_EQ(top != nullptr, plain) << key;
                if (plain) {
                    EXPECT_EQ(*top, parsed[key]) << key;
                }
            }
        }
        const json whole = record.whole();
        EXPECT_EQ(whole, parsed);
        EXPECT_EQ(whole.dump(), parsed.dump()); // 1 and 1u and 1.0 told apart
    }
}

// The same JSON with every object's keys in the opposite order: a record read
// so is not flat, and is checked built whole.
nlohmann::ordered_json reversedKeys(const json& value) {
    if (value.is_array()) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const json& item : value)
            out.push_back(reversedKeys(item));
        return out;
    }
    if (!value.is_object())
        return nlohmann::ordered_json::parse(value.dump());
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (auto item = value.rbegin(); item != value.rend(); ++item)
        out[item.key()] = reversedKeys(item.value());
    return out;
}

class FlatImport : public ::testing::Test {
protected:
    void SetUp() override {
        demo::writeDemo(m_dir.dir());
        m_image = m_dir.file(demo::kDemoImageName);
        m_original = test::readFile(m_image);
    }
    struct Outcome {
        test::ProcessResult result;
        std::string image;
    };
    Outcome import(const std::string& text) {
        m_dir.write(demo::kDemoImageName, m_original);
        std::filesystem::remove(m_image + ".history");
        Outcome outcome{test::runCliHere({"--dir", m_dir.dir(), "import", m_image,
                                          m_dir.write("in.json", text)}),
                        ""};
        outcome.image = test::readFile(m_image);
        return outcome;
    }
    test::TempDir m_dir;
    std::string m_image;
    std::string m_original;
};

// The demo's first unit reads hp 3800 and air terrain "A"; its first pilot
// is named "카인 벨".
TEST_F(FlatImport, ChecksAsTheRecordBuiltWhole) {
    struct Case {
        const char* document;
        int exitCode;
    };
    const Case cases[] = {
        {R"({"units": [{"hp": 3800, "index": 0, "terrain": {"air": "A", "sea": null}}]})", 0},
        {R"({"units": [{"hp": 3801, "index": 0, "terrain": {"air": "B"}}], "weapons": []})", 0},
        {R"({"units": [{"hp": 3800.0, "index": 0}, {"hp": 1, "index": 1}]})", 0},
        {R"({"units": [{"index": 0, "terrain": {"air": "A", "bogus": 1}}]})", 2},
        {R"({"units": [{"hp": 1, "index": 0}, {"hp": 2, "index": 0}]})", 2},
        {R"({"units": [{"hp": "many", "index": 0}]})", 2},
        {R"({"units": [{"hp": 1, "index": 99999}]})", 2},
        {R"({"units": [{"hp": 1, "index": -1}]})", 2},
        {R"({"units": [{"hp": 1, "position": 5, "index": 0}]})", 2},
        {R"({"units": [{"hp": 1, "terrain": {"air": "A"}}]})", 2},
        {R"({"pilots": [{"index": 1, "name": "카인 벨"}]})", 2},
        {R"({"pilots": [{"hp": 1, "name": "nobody"}]})", 2},
        {R"({"pilots": [{"index": 0, "name": 5}]})", 2},
        {R"({"pilots": [{"index": 0, "name": "카인 벨", "spirits": [{"level": 2}, {"level": 5}]}]})", 0},
        {R"({"weapons": [{"name": "x", "number": "7"}]})", 2},
        {R"({"weapons": [{"bogus": 1, "number": 3}]})", 2},
        {R"({"skills": [{"index": 0, "slots": [{"level": 2}, {"locked": false}]}]})", 0},
        {R"({"upgrade": [{"hp": 1, "x": 2}], "units": [{"hp": 5, "index": 2}]})", 2},
    };
    for (const auto& [document, exitCode] : cases) {
        SCOPED_TRACE(document);
        const json parsed = json::parse(document);
        const Outcome flat = import(parsed.dump());
        const Outcome whole = import(reversedKeys(parsed).dump());
        EXPECT_EQ(flat.result.exitCode, exitCode) << flat.result.err;
        EXPECT_EQ(whole.result.exitCode, exitCode) << whole.result.err;
        EXPECT_EQ(flat.result.out, whole.result.out);
        EXPECT_EQ(flat.result.err, whole.result.err);
        EXPECT_TRUE(flat.image == whole.image);
    }
}

} // namespace
} // namespace starfall
