// A diff names the fields whose values differ between two readings of a
// record. Readings of the same bytes are told alike without building their
// values; a value assigned since the reading must still be seen.

#include "cli/RecordChanges.h"
#include "cli/RecordViews.h"

#include "core/demo/DemoBuilder.h"
#include "core/lists/NameListReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace starfall
