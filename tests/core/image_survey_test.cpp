// What the editor learns of an image before it shows it: whether it opens
// (and why not), whether it can be written, whether its sectors are raw, and
// which listed records lie past its end.
#include "core/io/CoreError.h"
#include "core/lists/ImageSurvey.h"
#include "core/weapon/WeaponRecord.h"

#include "support/ReadOnlyFile.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace starfall {
namespace {

using test::SyntheticImage;
using test::TempDir;

class ImageSurveyTest : public ::testing::Test {
protected:
    ImageSurveyTest() {
        // Alpha's record at 104, its weapon list at 128; Beta's at 4104;
        // Kim's pilot record at 212.
        dir.write("unitlist.ini", "UNITS 100\nAlpha, 4\nBeta, 4004\n");
        dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
    }

    ImageSurvey survey(const std::string& image) const { return surveyImage(image, dir.dir()); }

    // The failure and its detail of a survey that must fail.
    std::pair<Failure, std::string> failure(const std::string& image) const {
        try {
            (void)survey(image);
        } catch (const CoreError& error) {
            return {error.failure(), error.detail()};
        }
        ADD_FAILURE() << image << " was surveyed";
        return {};
    }

    TempDir dir;
};

TEST_F(ImageSurveyTest, AnImageThatCannotBeOpenedIsRefusedWithTheSystemsReason) {
    const std::string fifo = dir.file("pipe.img");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, int> cases[] = {
        {dir.file("missing.img"), ENOENT}, {dir.dir(), EISDIR}, {fifo, EISDIR}};
    for (const auto& [image, error] : cases)
        EXPECT_EQ(failure(image), std::pair(Failure::ImageOpenForLoad,
                                            std::string(std::strerror(error))))
            << image;
}

TEST_F(ImageSurveyTest, AMissingListFileIsRefused) {
    SyntheticImage::flat(8192).saveTo(dir.file("a.img"));
    std::filesystem::remove(dir.file("charlist.ini"));
    EXPECT_EQ(failure(dir.file("a.img")).first, Failure::ListFileMissing);
}

TEST_F(ImageSurveyTest, AWholeFlatImageHasNothingPastItsEnd) {
    SyntheticImage::flat(8192).saveTo(dir.file("a.img"));
    const ImageSurvey whole = survey(dir.file("a.img"));
    EXPECT_EQ(whole.size, 8192);
    EXPECT_TRUE(whole.writable);
    EXPECT_FALSE(whole.rawSectors);
    EXPECT_FALSE(whole.truncated());
}

TEST_F(ImageSurveyTest, ARawImageIsToldApart) {
    SyntheticImage::rawSectors(4).saveTo(dir.file("raw.img"));
    EXPECT_TRUE(survey(dir.file("raw.img")).rawSectors);
}

TEST_F(ImageSurveyTest, RecordsPastTheEndAreNamedByKind) {
    // Alpha whole with weapons 5 and 1300 listed; Beta and Kim past the end.
    SyntheticImage::flat(200).place(126, {2, 0, 5, 0, 0, 0, 0x14, 0x05}).saveTo(dir.file("a.img"));
    const ImageSurvey cut = survey(dir.file("a.img"));
    EXPECT_TRUE(cut.truncated());
    EXPECT_EQ(cut.unitsPastEnd, std::vector<std::size_t>{1});
    EXPECT_EQ(cut.pilotsPastEnd, std::vector<std::size_t>{0});
    EXPECT_EQ(cut.weaponsPastEnd, 2u); // the weapon table lies far beyond
}

TEST_F(ImageSurveyTest, RepeatedEntriesAreEachMarkedAndTheirWeaponsCountedOnce) {
    // Alpha, and Gamma under another name at its address, list weapons 5 and
    // 1300; Beta lies past the end wherever it stands, and so do the pilots.
    dir.write("unitlist.ini",
              "UNITS 100\nBeta, 4004\nAlpha, 4\nBeta, 4004\nGamma, 4\nAlpha, 4\nBeta, 4004\n");
    dir.write("charlist.ini", "PILOTS 200\nKim, 12\nLee, 12\nKim, 12\n");
    SyntheticImage::flat(200).place(126, {2, 0, 5, 0, 0, 0, 0x14, 0x05}).saveTo(dir.file("a.img"));
    const ImageSurvey cut = survey(dir.file("a.img"));
    EXPECT_EQ(cut.unitsPastEnd, (std::vector<std::size_t>{0, 2, 5}));
    EXPECT_EQ(cut.pilotsPastEnd, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(cut.weaponsPastEnd, 2u);
}

TEST_F(ImageSurveyTest, TheListsReadAreHandedOutWhole) {
    SyntheticImage::flat(8192).saveTo(dir.file("a.img"));
    const ImageSurvey whole = survey(dir.file("a.img"));
    ASSERT_TRUE(whole.unitList && whole.pilotList);
    EXPECT_EQ(whole.unitList->baseOffset, 100);
    EXPECT_EQ(whole.unitList->entries,
              (std::vector<NameListEntry>{{"Alpha", "4\n"}, {"Beta", "4004\n"}}));
    EXPECT_EQ(whole.pilotList->baseOffset, 200);
    EXPECT_EQ(whole.pilotList->entries, (std::vector<NameListEntry>{{"Kim", "12\n"}}));
}

TEST(WeaponPastEnd, AWeaponIsPastTheEndWhenAnyOfItsBytesIs) {
    // Weapons whose bytes run over a stretch of sector framing, and plain ones.
    for (const int number : {0, 1, 358, 1322, 1563, 2047}) {
        const auto bytes = weaponBytePositions(number);
        const Position last = *std::max_element(bytes.begin(), bytes.end());
        EXPECT_TRUE(weaponPastEnd(number, last)) << number;
        EXPECT_FALSE(weaponPastEnd(number, last + 1)) << number;
    }
}

TEST_F(ImageSurveyTest, AReadOnlyImageIsSurveyedAsNotWritable) {
    SyntheticImage::flat(8192).saveTo(dir.file("a.img"));
    test::ReadOnlyFile locked(dir.file("a.img"));
    if (!locked.effective())
        GTEST_SKIP() << "this file system cannot make the file unwritable";
    EXPECT_FALSE(survey(dir.file("a.img")).writable);
}

} // namespace
} // namespace starfall
