#include "core/io/CoreError.h"
#include "core/patch/BpsWriter.h"
#include "core/patch/PatchFile.h"
#include "core/text/PatchFaultTexts.h"

#include "support/HandPatches.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using patch::BpsPatch;
using test::Bytes;
using test::HandBps;

const std::string kPath = "hand.bps";

BpsPatch read(const Bytes& file) {
    return std::get<BpsPatch>(patch::parsePatch(file, kPath));
}

Bytes withFooter(Bytes body) {
    test::putLittle(body, 0, 8);
    test::putLittle(body, test::crcOf(body), 4);
    return body;
}

TEST(BpsTest, NumbersHaveOneEncodingEach) {
    const std::pair<std::uint64_t, Bytes> rows[] = {
        {0, {0x80}},
        {1, {0x81}},
        {127, {0xFF}},
        {128, {0x00, 0x80}},
        {255, {0x7F, 0x80}},
        {16511, {0x7F, 0xFF}},
        {16512, {0x00, 0x00, 0x80}},
        {46416720, {0x50, 0x05, 0x10, 0x95}},
    };
    for (const auto& [value, encoded] : rows) {
        Bytes written;
        patch::appendVarint(written, value);
        EXPECT_EQ(written, encoded) << value;
        Bytes body;
        test::put(body, "BPS1");
        test::put(body, encoded); // source size
        body.push_back(0x80);     // target size 0: no actions
        body.push_back(0x80);     // no metadata
        if (value <= std::uint64_t{1} << 31) {
            EXPECT_EQ(read(withFooter(body)).sourceSize, static_cast<Position>(value)) << value;
        }
    }
}

TEST(BpsTest, LinearWriterEmitsSourceReadAndTargetReadRuns) {
    patch::ByteChanges changes;
    changes.next = {{2, {0x0A, 0x0B}}, {9, {0x0C}}};
    changes.previous = {{2, {0, 0}}, {9, {0}}};
    const Bytes expected = HandBps(10, 10, "meta")
                               .sourceRead(2)
                               .targetRead({0x0A, 0x0B})
                               .sourceRead(5)
                               .targetRead({0x0C})
                               .finish(1, 2);
    EXPECT_EQ(patch::writeLinearBps(10, changes, "meta", {1, 2}), expected);
    const BpsPatch patch = read(expected);
    EXPECT_EQ(patch.metadata, "meta");
    EXPECT_EQ(patch.actions, 4u);
    EXPECT_EQ(patch.copiedOrRead, 3);
    EXPECT_EQ(patch.sourceCrc, 1u);
    EXPECT_EQ(patch.targetCrc, 2u);
}

// The patch CRC32 covers every byte before it.
TEST(BpsTest, EveryCutAndEveryFlippedBitIsRefused) {
    const Bytes whole =
        HandBps(8, 8).sourceRead(2).targetRead({1, 2}).sourceCopy(2, 5).targetCopy(2, 2).finish(7,
                                                                                                9);
    ASSERT_EQ(read(whole).actions, 4u);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_THROW(
            (void)read(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))),
            CoreError)
            << size;
    }
    for (std::size_t bit = 0; bit < whole.size() * 8; ++bit) {
        Bytes flipped = whole;
        flipped[bit / 8] ^= static_cast<std::uint8_t>(1U << (bit % 8));
        EXPECT_THROW((void)read(flipped), CoreError) << bit;
    }
}

TEST(BpsTest, ActionsOutsideSourceOrTargetAreRefusedEvenWithASoundCrc) {
    struct Case {
        const char* what;
        Bytes file;
        PatchFault fault;
    };
    Bytes longNumber = {'B', 'P', 'S', '1'};
    longNumber.insert(longNumber.end(), 10, 0x00);
    const Bytes shortMetadata = {'B', 'P', 'S', '1', 0x80, 0x80, 0x80 | 40};
    const Case cases[] = {
        {"past the target", HandBps(4, 4).sourceRead(5).finish(0, 0), PatchFault::ActionPastTarget},
        {"source read past the source", HandBps(2, 4).sourceRead(4).finish(0, 0),
         PatchFault::CopyOutsideSource},
        {"source copy past the source", HandBps(4, 4).sourceCopy(2, 3).finish(0, 0),
         PatchFault::CopyOutsideSource},
        {"source copy before the source", HandBps(4, 4).sourceCopy(1, -1).finish(0, 0),
         PatchFault::CopyOutsideSource},
        {"target copy of unwritten bytes",
         HandBps(4, 4).targetRead({1}).targetCopy(3, 1).finish(0, 0),
         PatchFault::CopyOutsideTarget},
        {"target left short", HandBps(4, 4).sourceRead(3).finish(0, 0), PatchFault::TargetShort},
        {"metadata past the end", withFooter(shortMetadata), PatchFault::Truncated},
        {"a number of more than 63 bits", withFooter(longNumber), PatchFault::BadVarint},
        {"a size past 2 GiB", HandBps(std::uint64_t{1} << 32, 0).finish(0, 0),
         PatchFault::BeyondAddressable},
    };
    for (const Case& c : cases) {
        try {
            (void)read(c.file);
            ADD_FAILURE() << c.what << ": read";
        } catch (const CoreError& error) {
            EXPECT_EQ(error.failure(), Failure::PatchDamaged) << c.what;
            EXPECT_EQ(error.detail(), messages::patchFault(c.fault)) << c.what;
        }
    }
}

} // namespace
} // namespace starfall
