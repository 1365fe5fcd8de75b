// The VCDIFF header walk (the windows themselves are xdelta3's to decode) and
// the overlaps of patches meant to be stacked.

#include "core/io/CoreError.h"
#include "core/patch/PatchFile.h"
#include "core/patch/PatchOverlap.h"
#include "core/text/PatchFaultTexts.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kPath = "hand.vcdiff";

// The header with an application header "ab", then one window from the
// source whose delta holds `sections` bytes of sections and a checksum.
Bytes oneWindow(std::uint8_t target, std::uint8_t sections = 3, std::uint8_t lengthFix = 0) {
    Bytes file = {0xD6, 0xC3, 0xC4, 0x00, 0x04, 0x02, 'a', 'b'};
    const std::uint8_t deltaLength = static_cast<std::uint8_t>(1 + 1 + 3 + 4 + sections);
    file.insert(file.end(), {0x05, 0x10, 0x00, static_cast<std::uint8_t>(deltaLength + lengthFix),
                             target, 0x00, sections, 0x00, 0x00, 1, 2, 3, 4});
    file.insert(file.end(), sections, 0x00);
    return file;
}

TEST(VcdiffReadTest, TheHeaderWalkAddsUpTheWindows) {
    Bytes two = oneWindow(0x10);
    const Bytes second = oneWindow(0x7F);
    two.insert(two.end(), second.begin() + 8, second.end());
    const auto read = std::get<patch::VcdiffPatch>(patch::parsePatch(two, kPath));
    EXPECT_EQ(read.appHeader, "ab");
    EXPECT_EQ(read.windows, 2U);
    EXPECT_EQ(read.targetSize, 0x10 + 0x7F);
    EXPECT_TRUE(read.checksums);
    EXPECT_FALSE(read.secondary);
    EXPECT_EQ(patch::summarize(read).format, "VCDIFF");
}

TEST(VcdiffReadTest, DamagedHeadersAndWindowsAreRefused) {
    const Bytes good = oneWindow(0x10);
    Bytes longNumber = good;
    longNumber.insert(longNumber.begin() + 12, 9, 0x81); // the target length, ten bytes long
    const std::tuple<const char*, Bytes, PatchFault> rows[] = {
        {"cut in the header", Bytes(good.begin(), good.begin() + 6), PatchFault::Truncated},
        {"cut in a window", Bytes(good.begin(), good.end() - 1), PatchFault::Truncated},
        {"sections past the delta", oneWindow(0x10, 3, 1), PatchFault::BadHeader},
        {"unknown header bits", [&] { Bytes b = good; b[4] = 0x84; return b; }(),
         PatchFault::BadHeader},
        {"source and target", [&] { Bytes b = good; b[8] = 0x07; return b; }(),
         PatchFault::BadHeader},
        {"a number of ten bytes", longNumber, PatchFault::BadVarint},
    };
    for (const auto& [what, bytes, fault] : rows) {
        try {
            (void)patch::parsePatch(bytes, kPath);
            ADD_FAILURE() << what;
        } catch (const CoreError& error) {
            EXPECT_EQ(error.failure(), Failure::PatchDamaged) << what;
            EXPECT_EQ(error.detail(), messages::patchFault(fault)) << what;
        }
    }
}

patch::ByteChanges changes(std::vector<ByteRun> runs) {
    patch::ByteChanges out;
    out.previous = runs;
    out.next = std::move(runs);
    return out;
}

TEST(PatchOverlapTest, OnlyBytesTwoPatchesChangeOverlap) {
    const std::vector<patch::ByteChanges> plans = {
        changes({{10, {1, 2, 3, 4}}, {100, {9}}}),
        changes({{12, {3, 4, 5}}, {200, {7}}}),
        changes({{13, {4}}, {100, {8}}, {300, {1}}}),
    };
    const auto found = patch::findOverlaps(plans);
    ASSERT_EQ(found.size(), 3U);
    // 12 is changed by 0 and 1 alike; 13 by all three alike; 14 by 1 only.
    EXPECT_EQ(found[0].start, 12);
    EXPECT_EQ(found[0].length, 1);
    EXPECT_EQ(found[0].patches, (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(found[0].sameBytes);
    EXPECT_EQ(found[1].start, 13);
    EXPECT_EQ(found[1].patches, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_TRUE(found[1].sameBytes);
    EXPECT_EQ(found[2].start, 100);
    EXPECT_EQ(found[2].patches, (std::vector<std::size_t>{0, 2}));
    EXPECT_FALSE(found[2].sameBytes);

    const std::vector<patch::ByteChanges> apart = {changes({{0, {1}}}), changes({{1, {1}}})};
    EXPECT_TRUE(patch::findOverlaps(apart).empty());
}

} // namespace
} // namespace starfall
