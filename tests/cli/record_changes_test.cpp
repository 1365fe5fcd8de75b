// A diff names the fields whose values differ between two readings of a
// record. Readings of the same bytes are told alike without building their
// values; a value assigned since the reading must still be seen.

#include "cli/ImageRecords.h"
#include "cli/RecordChanges.h"
#include "cli/RecordViews.h"

#include "core/demo/DemoBuilder.h"
#include "core/lists/NameListReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace starfall {
namespace {

using nlohmann::json;

// The demo's first unit reads hp 3800; its second is another record of the
// same kind.
TEST(FieldChanges, ReadingsOfTheSameBytesAreAlikeAssignedValuesAreCompared) {
    const test::TempDir dir;
    demo::writeDemo(dir.dir());
    const std::string image = dir.file(demo::kDemoImageName);
    const NameList units = loadNameList(ListFolders(dir.dir()), ListKind::Units);
    const auto asRead = cli::unitView(image, units, 0);

    EXPECT_EQ(cli::fieldChanges(*asRead, *cli::unitView(image, units, 0)), json::object());
    EXPECT_FALSE(cli::fieldChanges(*asRead, *cli::unitView(image, units, 1)).empty());

    const auto edited = asRead->copy();
    edited->assign("hp", 4200, cli::ValueRule::Checked, "hp");
    const json hp = {{"hp", {3800, 4200}}};
    EXPECT_EQ(cli::fieldChanges(*asRead, *edited), hp);
    EXPECT_EQ(cli::fieldChanges(*asRead, *edited->copy()), hp);
    EXPECT_EQ(cli::fieldChanges(*asRead, *edited->afterSave()), hp);

    // Assigned back to what was read, the values are alike again.
    edited->assign("hp", 3800, cli::ValueRule::Checked, "hp");
    EXPECT_EQ(cli::fieldChanges(*asRead, *edited), json::object());
}

// Every byte any record holds, once, in order: records that share bytes
// (entries naming the same record, or overlapping ones) and records whose
// bytes lie apart alike. Each section with a record is reported.
TEST(RecordChanges, EveryHeldByteOnceInOrder) {
    const test::TempDir dir;
    demo::writeDemo(dir.dir());
    const std::string image = dir.file(demo::kDemoImageName);
    // The unit list's entries ("name, offset" lines) twice over, the second
    // time in reverse.
    std::ifstream in(dir.file("unitlist.ini"), std::ios::binary);
    std::string header;
    std::vector<std::string> entries;
    for (std::string line; std::getline(in, line);) {
        if (line.find(',') == std::string::npos)
            header += line + '\n';
        else
            entries.push_back(line + '\n');
    }
    std::ofstream out(dir.file("unitlist.ini"), std::ios::binary | std::ios::trunc);
    out << header;
    for (const std::string& entry : entries)
        out << entry;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        out << *entry;
    out.close();

    const cli::ImageRecords records = cli::loadImageRecords(image, ListFolders(dir.dir()));
    std::vector<Position> expected;
    cli::RecordChanges changes;
    records.visit([&](std::string_view section, const cli::RecordView& record) {
        const std::vector<Position> own = record.positions();
        expected.insert(expected.end(), own.begin(), own.end());
        changes.add(section, record, record);
    });
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    ASSERT_GT(expected.size(), 1000U);
    EXPECT_EQ(changes.positions(), expected);
    const json none = json::array();
    EXPECT_EQ(changes.json(), json({{"pilots", none},
                                    {"skills", none},
                                    {"units", none},
                                    {"upgrade", none},
                                    {"weapons", none}}));
}

} // namespace
} // namespace starfall
