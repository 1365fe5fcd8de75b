#include "core/codec/Cp949.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/text/Messages.h"
#include "core/text/RecordNames.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using test::SyntheticImage;

class SaveGuardTest : public ::testing::Test {
protected:
    std::string save(const SyntheticImage& image, std::vector<ByteWrite> plan) {
        image.saveTo(path);
        try {
            writeBytes(path, plan, label);
        } catch (const CoreError& error) {
            EXPECT_EQ(error.failure(), Failure::SectorFraming);
            return messageFor(error).text;
        }
        return {};
    }
    test::TempDir dir;
    std::string path = dir.file("guard.img");
    std::string label = messages::unitRecordLabel(cp949::fromUtf8("시험"));
};

TEST_F(SaveGuardTest, ARawImageRefusesTheWholeSaveWhenAnyByteLandsInFraming) {
    const SyntheticImage image = SyntheticImage::rawSectors(3, 0x11);
    struct Row {
        Position position;
        bool refused;
    };
    const Row rows[] = {{23, true},   {24, false},  {2071, false}, {2072, true},
                        {2351, true}, {2352, true}, {2376, false}, {4423, false}};
    for (const Row& row : rows) {
        // A good byte first: nothing at all may be written when one is bad.
        const std::string message = save(image, {{100, 0xAB}, {row.position, 0xCD}});
        EXPECT_EQ(!message.empty(), row.refused) << row.position;
        if (row.refused) {
            EXPECT_EQ(test::readFile(path), image.bytes()) << row.position;
            EXPECT_EQ(message, messageFor(Failure::SectorFraming, path, row.position, label).text);
        }
    }
}

TEST_F(SaveGuardTest, FlatImagesAreNotChecked) {
    const SyntheticImage image = SyntheticImage::flat(5000, 0x11);
    EXPECT_EQ(save(image, {{2072, 0xCD}, {10, 1}}), "");
    EXPECT_EQ(static_cast<std::uint8_t>(test::readFile(path)[2072]), 0xCD);
}

TEST_F(SaveGuardTest, ADamagedFirstSectorStillCountsAsRawByTheSectorsTouched) {
    SyntheticImage image = SyntheticImage::rawSectors(3, 0x11);
    image.place(0, {0x12});
    EXPECT_NE(save(image, {{2352 + 2080, 0xCD}}), "");
}

} // namespace
} // namespace starfall
