// import compares each value with the record as read and plans a save only
// for a record whose values differ: equal values in any of the spellings the
// record takes must change nothing, and a record that runs past the image's
// end must still be refused for a change.

#include "cli/CliContext.h"
#include "core/demo/DemoBuilder.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace starfall {
namespace {

using nlohmann::json;

class ImportValues : public ::testing::Test {
protected:
    void SetUp() override {
        demo::writeDemo(m_dir.dir());
        m_image = m_dir.file(demo::kDemoImageName);
    }
    test::ProcessResult import(const std::string& text, bool asTyped = false) {
        std::vector<std::string> args = {"--dir", m_dir.dir(), "import", "--dry-run"};
        if (asTyped)
            args.push_back("--as-typed");
        args.insert(args.end(), {m_image, m_dir.write("in.json", text)});
        return test::runCliHere(args);
    }
    test::TempDir m_dir;
    std::string m_image;
};

// The first unit of the demo reads hp 3800, air terrain "A", first ability
// "빔코트"; its first skill slot level 1.
TEST_F(ImportValues, ChangesOnlyWhatDiffers) {
    struct Case {
        const char* entry;
        bool asTyped;
        int exitCode;
        const char* changed; // the changed key, or "" for no record
    };
    const Case cases[] = {
        {R"({"units": [{"index": 0, "hp": 3800}]})", false, 0, ""},
        {R"({"units": [{"index": 0, "hp": 3800.0}]})", false, 0, ""},
        {R"({"units": [{"index": 0, "hp": 3801}]})", false, 0, "hp"},
        {R"({"units": [{"index": 0, "hp": -3800}]})", false, 2, ""},
        {R"({"units": [{"index": 0, "hp": 18446744073709551615}]})", false, 2, ""},
        {R"({"units": [{"index": 0, "hp": "3800"}]})", false, 2, ""},
        {R"({"units": [{"index": 0, "hp": "3800"}]})", true, 0, ""},
        {R"({"units": [{"index": 0, "hp": true}]})", false, 2, ""},
        {R"({"units": [{"index": 0, "hp": null, "terrain": {"air": "A"}}]})", false, 0, ""},
        {R"({"units": [{"index": 0, "terrain": {"air": "B"}}]})", false, 0, "terrain.air"},
        {R"({"units": [{"index": 0, "terrain": {"air": 1}}]})", false, 0, "terrain.air"},
        {R"({"units": [{"index": 0, "terrain": {"air": "a"}}]})", false, 2, ""},
        {R"({"units": [{"index": 0, "abilities": ["빔코트"]}]})", false, 0, ""},
        {R"({"skills": [{"index": 0, "slots": [{"level": 1}]}]})", false, 0, ""},
        {R"({"skills": [{"index": 0, "slots": [{"level": 2}]}]})", false, 0, "slots.1.level"},
    };
    for (const Case& c : cases) {
        const auto result = import(c.entry, c.asTyped);
        ASSERT_EQ(result.exitCode, c.exitCode) << c.entry << result.err;
        if (c.exitCode != 0)
            continue;
        const json records = json::parse(result.out)["records"];
        if (std::string(c.changed).empty()) {
            EXPECT_TRUE(records.empty()) << c.entry;
            continue;
        }
        ASSERT_EQ(records.size(), 1U) << c.entry;
        EXPECT_EQ(records[0]["changes"].size(), 1U) << c.entry;
        EXPECT_TRUE(records[0]["changes"].contains(c.changed)) << c.entry;
    }
}

// An export imported back changes nothing. An image cut short inside its last
// unit (all but its first byte) exports that unit as it reads there: imported
// back, it is no change either; with a value changed in every unit, it is
// refused, and nothing is written.
TEST_F(ImportValues, TakesBackARecordPastTheImageEndUnchangedOnly) {
    const auto exported = test::runCliHere({"--dir", m_dir.dir(), "export", m_image});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const auto same = import(exported.out);
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_TRUE(json::parse(same.out)["records"].empty());

    std::int64_t last = 0;
    const json whole = json::parse(exported.out);
    for (const json& unit : whole["units"])
        last = std::max(last, unit["position"].get<std::int64_t>());
    std::filesystem::resize_file(m_image, static_cast<std::uintmax_t>(last + 1));
    const auto cutExport = test::runCliHere({"--dir", m_dir.dir(), "export", m_image});
    ASSERT_EQ(cutExport.exitCode, 0) << cutExport.err;
    json units = json::parse(cutExport.out)["units"];
    const std::string before = test::readFile(m_image);
    const auto back = test::runCliHere({"--dir", m_dir.dir(), "import", m_image,
                                        m_dir.write("units.json", json({{"units", units}}).dump())});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_TRUE(json::parse(back.out)["records"].empty());
    for (json& unit : units)
        unit["hp"] = 1;
    const auto cut = test::runCliHere({"--dir", m_dir.dir(), "import", m_image,
                                       m_dir.write("units.json", json({{"units", units}}).dump())});
    EXPECT_EQ(cut.exitCode, 1) << cut.out;
    EXPECT_FALSE(cut.err.empty());
    EXPECT_TRUE(test::readFile(m_image) == before);
}

} // namespace
} // namespace starfall
