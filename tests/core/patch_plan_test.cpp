#include "core/io/CoreError.h"
#include "core/patch/ByteChanges.h"
#include "core/patch/ImageWindow.h"
#include "core/patch/PatchPlan.h"
#include "core/text/PatchFaultTexts.h"

#include "support/HandPatches.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using test::Bytes;
using test::HandBps;
using test::readFile;

Bytes counting(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

TEST(ChangeCollector, StretchesOfDifferencesBecomeRunsJoinedAcrossCalls) {
    // Two calls over the bytes 100..107 and 108..111 of one image.
    const Bytes before = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const Bytes after = {9, 1, 9, 9, 4, 5, 6, 9, 9, 0, 10, 9};
    patch::ChangeCollector changes("p");
    changes.compare(100, std::span(before).first(8), std::span(after).first(8));
    changes.compare(108, std::span(before).subspan(8), std::span(after).subspan(8));
    const patch::ByteChanges found = changes.take();
    const std::vector<ByteRun> next = {{100, {9}}, {102, {9, 9}}, {107, {9, 9, 0}}, {111, {9}}};
    const std::vector<ByteRun> previous = {{100, {0}}, {102, {2, 3}}, {107, {7, 8, 9}}, {111, {11}}};
    EXPECT_EQ(found.next, next);
    EXPECT_EQ(found.previous, previous);
    EXPECT_EQ(found.bytes(), 7u);
}

class PatchPlanTest : public ::testing::Test {
protected:
    void SetUp() override { writeImage(counting(64)); }
    void writeImage(const Bytes& bytes) const {
        test::SyntheticImage image =
            test::SyntheticImage::flat(static_cast<Position>(bytes.size()));
        image.place(0, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        image.saveTo(m_image);
    }
    [[nodiscard]] Bytes image() const {
        const std::string bytes = readFile(m_image);
        return Bytes(bytes.begin(), bytes.end());
    }
    [[nodiscard]] patch::Patch parse(const Bytes& file) const {
        return patch::parsePatch(file, "p");
    }
    void apply(const Bytes& file) const {
        patch::writeChanges(m_image, patch::planApply(parse(file), m_image), "p");
    }
    // The refusal's failure; the image must be as it was.
    Failure refusal(const std::function<void()>& action) const {
        const Bytes before = image();
        try {
            action();
        } catch (const CoreError& error) {
            EXPECT_EQ(image(), before);
            return error.failure();
        }
        ADD_FAILURE() << "no refusal";
        return Failure::WriteFailed;
    }

    test::TempDir m_dir;
    std::string m_image = m_dir.file("image.bin");
};

// Applying a hand-built BPS with copies is tested through the CLI; here its
// refusals that only a crafted file reaches.
TEST_F(PatchPlanTest, BpsThatWouldChangeTheSizeOrMissItsTargetIsRefused) {
    const std::uint32_t base = test::crcOf(counting(64));
    const Bytes wrongTarget = HandBps(64, 64).sourceCopy(64, 0).finish(base, 1);
    EXPECT_EQ(refusal([&] { apply(wrongTarget); }), Failure::PatchDamaged);
    const Bytes growing = HandBps(64, 65).sourceRead(64).targetRead({1}).finish(base, 0);
    EXPECT_EQ(refusal([&] { apply(growing); }), Failure::ImageSizesDiffer);
}

// An image of several read blocks: the stretches the patch leaves as they are,
// long and short, start and end off the block edges, and their CRC32 is
// composed into both the source's and the target's. Either one composed
// wrongly refuses the patch.
TEST_F(PatchPlanTest, BpsOverManyBlocksComposesBothChecksumsFromTheUntouchedStretches) {
    const auto block = static_cast<std::size_t>(patch::ImageWindow::kBlockBytes);
    Bytes source(3 * block + 777);
    std::uint32_t noise = 12345;
    for (auto& b : source) {
        noise = noise * 1103515245U + 12345U;
        b = static_cast<std::uint8_t>(noise >> 16);
    }
    writeImage(source);
    Bytes target = source;
    const std::size_t changedAt = block - 3; // across the first block edge
    const Bytes changed = {1, 2, 3, 4, 5, 6, 7};
    std::copy(changed.begin(), changed.end(), target.begin() + static_cast<std::ptrdiff_t>(changedAt));
    // A copy from the source's start and a repeat of the target's last bytes.
    const std::size_t copiedAt = 2 * block + 100;
    std::copy_n(source.begin(), 50, target.begin() + static_cast<std::ptrdiff_t>(copiedAt));
    const std::size_t repeatedAt = copiedAt + 50;
    for (std::size_t i = 0; i < 30; ++i)
        target[repeatedAt + i] = target[repeatedAt - 2 + i % 2];
    // A short stretch left as it is between two changes.
    const std::size_t laterAt = repeatedAt + 30 + 100;
    const Bytes later = {static_cast<std::uint8_t>(~source[laterAt]),
                         static_cast<std::uint8_t>(~source[laterAt + 1])};
    std::copy(later.begin(), later.end(), target.begin() + static_cast<std::ptrdiff_t>(laterAt));
    const auto build = [&](std::uint32_t sourceCrc, std::uint32_t targetCrc) {
        return HandBps(source.size(), target.size())
            .sourceRead(changedAt)
            .targetRead(changed)
            .sourceRead(copiedAt - changedAt - changed.size())
            .sourceCopy(50, 0)
            .targetCopy(30, static_cast<std::int64_t>(repeatedAt - 2))
            .sourceRead(100)
            .targetRead(later)
            .sourceRead(source.size() - laterAt - later.size())
            .finish(sourceCrc, targetCrc);
    };
    const std::uint32_t sourceCrc = test::crcOf(source);
    const std::uint32_t targetCrc = test::crcOf(target);
    EXPECT_EQ(refusal([&] { apply(build(sourceCrc, targetCrc ^ 1U)); }), Failure::PatchDamaged);
    EXPECT_EQ(refusal([&] { apply(build(sourceCrc ^ 0x80000000U, targetCrc)); }),
              Failure::PatchWrongImage);
    apply(build(sourceCrc, targetCrc));
    EXPECT_EQ(image(), target);
    // Applied once already: the image's CRC32 is the target's.
    EXPECT_TRUE(patch::planApply(parse(build(sourceCrc, targetCrc)), m_image).empty());
}

// Overlapping records apply in order; the undo walks back in reverse.
TEST_F(PatchPlanTest, PpfRecordsApplyInOrderAndUndoRestoresTheImage) {
    const Bytes file =
        test::ppf3("", std::nullopt, true, {{10, {1, 2, 3}, {10, 11, 12}}, {11, {9}, {2}}});
    apply(file);
    Bytes expected = counting(64);
    expected[10] = 1;
    expected[11] = 9;
    expected[12] = 3;
    EXPECT_EQ(image(), expected);
    EXPECT_TRUE(patch::planApply(parse(file), m_image).empty());

    patch::writeChanges(m_image, patch::planUndo(parse(file), m_image), "p");
    EXPECT_EQ(image(), counting(64));
    EXPECT_EQ(refusal([&] { (void)patch::planUndo(parse(file), m_image); }),
              Failure::PatchNotApplied);
    EXPECT_EQ(refusal([&] {
                  (void)patch::planUndo(parse(test::ppf1("", {{1, {1}, {}}})), m_image);
              }),
              Failure::PatchWithoutUndo);
}

TEST_F(PatchPlanTest, PpfChecksRefuseWithoutWriting) {
    // Undo bytes that match neither the image nor the new bytes: another image.
    EXPECT_EQ(refusal([&] {
                  apply(test::ppf3("", std::nullopt, true, {{5, {0xEE}, {0x44}}}));
              }),
              Failure::PatchWrongImage);
    EXPECT_EQ(refusal([&] {
                  apply(test::ppf3("", std::nullopt, false, {{60, {1, 2, 3, 4, 5}, {}}}));
              }),
              Failure::PatchOutsideImage);
    EXPECT_EQ(refusal([&] {
                  apply(test::ppf2("", 65, Bytes(1024, 0), {{1, {1}, {}}}));
              }),
              Failure::PatchWrongImage);
}

TEST_F(PatchPlanTest, BlockCheckIgnoresTheBytesTheRecordsWrite) {
    Bytes bytes(0x9320 + 2048, 0x33);
    writeImage(bytes);
    const Bytes block(bytes.begin() + 0x9320, bytes.begin() + 0x9320 + 1024);
    const Bytes file = test::ppf3("", block, false, {{0x9320 + 5, {0x77, 0x78}, {}}});
    apply(file);
    bytes[0x9320 + 5] = 0x77;
    bytes[0x9320 + 6] = 0x78;
    EXPECT_EQ(image(), bytes);
    EXPECT_TRUE(patch::planApply(parse(file), m_image).empty());

    bytes[0x9320 + 1023] = 0;
    writeImage(bytes);
    try {
        (void)patch::planApply(parse(file), m_image);
        ADD_FAILURE() << "a changed block was accepted";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.detail(), messages::imageMismatch(ImageMismatch::BlockCheck));
    }
}

// Spans close together share a read and far ones do not; either way each
// comes back with its own bytes, and one past the end is refused.
TEST_F(PatchPlanTest, SpansReadBackTheirOwnBytesWhereverTheyLie) {
    const Bytes bytes = counting(3 << 20);
    writeImage(bytes);
    const std::vector<patch::ByteSpan> spans = {
        {0, 1},          {2, 5},          {4000, 4100},    {8200, 8201}, // joined
        {100000, 100300}, {(2 << 20) - 10, (2 << 20) + 10},              // alone, across 2 MiB
        {(3 << 20) - 1, 3 << 20},                                        // the last byte
    };
    const patch::SpanBytes runs = patch::readSpans(m_image, spans);
    ASSERT_EQ(runs.size(), spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        EXPECT_EQ(runs.span(i), spans[i]);
        EXPECT_EQ(Bytes(runs.bytes(i).begin(), runs.bytes(i).end()),
                  Bytes(bytes.begin() + spans[i].start, bytes.begin() + spans[i].end))
            << "span " << i;
        EXPECT_EQ(runs.indexOf(spans[i].end - 1), i) << "span " << i;
    }
    const std::vector<patch::ByteSpan> past = {{10, 20}, {(3 << 20) - 2, (3 << 20) + 1}};
    EXPECT_EQ(refusal([&] { (void)patch::readSpans(m_image, past); }), Failure::PatchOutsideImage);
}

// Records scattered over a large image, in no order and some touching: the
// apply must land each where it says, however its reads were joined.
TEST_F(PatchPlanTest, ScatteredPpfRecordsLandWhereTheySay) {
    Bytes expected = counting(5 << 20);
    writeImage(expected);
    std::vector<test::HandRecord> records;
    for (Position at : {Position{4 << 20}, Position{17}, Position{18}, Position{3000},
                        Position{(1 << 20) - 1}, Position{5000}, Position{(5 << 20) - 3}}) {
        const Bytes next = {0xA1, 0xB2, static_cast<std::uint8_t>(at)};
        const auto length = static_cast<std::size_t>(std::min<Position>(3, (5 << 20) - at));
        records.push_back({static_cast<std::uint64_t>(at), Bytes(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(length)), {}});
    }
    apply(test::ppf3("", std::nullopt, false, records));
    for (const auto& record : records)
        std::copy(record.next.begin(), record.next.end(),
                  expected.begin() + static_cast<std::ptrdiff_t>(record.offset));
    EXPECT_EQ(image(), expected);
}

// Stands in for a device that keeps the wrong byte on the first write.
int g_writes = 0;
SaveReport wrongFirstWrite(const std::string& path, std::span<const ByteRun> runs,
                           std::string_view label, FramingRule rule, CodeRule codes,
                           const HistoryNote& note) {
    std::vector<ByteRun> written(runs.begin(), runs.end());
    if (g_writes++ == 0)
        written.back().bytes.back() ^= 0xFF;
    return writeRuns(path, written, label, rule, codes, note);
}

TEST_F(PatchPlanTest, BytesThatDoNotReadBackAsWrittenAreRolledBack) {
    const Bytes file = test::ppf3("", std::nullopt, false, {{3, {7, 7}, {}}, {40, {9}, {}}});
    try {
        (void)patch::writeChanges(m_image, patch::planApply(parse(file), m_image), "p",
                                  CodeRule::Refresh, &wrongFirstWrite);
        ADD_FAILURE() << "no failure reported";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::PatchVerifyFailed);
        EXPECT_EQ(error.position(), 40);
    }
    EXPECT_EQ(g_writes, 2);
    EXPECT_EQ(image(), counting(64));
}

} // namespace
} // namespace starfall
