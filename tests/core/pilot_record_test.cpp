#include "core/codec/ByteCodec.h"
#include "core/codec/Cp949.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/pilot/PilotFieldCodecs.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordFile.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <numeric>

namespace starfall {
namespace {

using test::changedPositions;
using test::readFile;
using test::SyntheticImage;
using test::TempDir;

std::vector<Position> run(Position first, int count) {
    std::vector<Position> positions(static_cast<std::size_t>(count));
    std::iota(positions.begin(), positions.end(), first);
    return positions;
}

// A Full record at P = 1000 (address 100) in a flat image of 0xEE.
class PilotRecordTest : public ::testing::Test {
protected:
    static constexpr Position P = 1000;
    void save(const SyntheticImage& image) { image.saveTo(m_path); }

    TempDir m_dir;
    std::string m_path = m_dir.file("pilots.img");
    PilotReference m_full{100, P, cp949::fromUtf8("아무로")};
};

TEST_F(PilotRecordTest, LoadsAFullRecordAsThePageShowsIt) {
    save(SyntheticImage::flat(2000, 0xEE)
             .place(P - 6, {0xD7})
             .place(P, {0x43, 0x21, 150, 255, 0x34, 0x12, 0xFF, 0xFF, 0, 0, 1, 0, 0xE8, 0x03})
             .place(P + 14, {1, 5, 30, 99, 0, 7, 31, 8, 16, 0, 255, 1}));
    const PilotRecord record = loadPilotRecord(m_path, m_full);
    EXPECT_EQ(record.kind, PilotRecordKind::Full);
    const PilotStats expected{ListChoice::item(0),
                              ListChoice::item(1),
                              ListChoice::item(2),
                              ListChoice::item(3),
                              "150",
                              "255",
                              "4660",
                              "65535",
                              "0",
                              "1",
                              "1000"};
    EXPECT_EQ(record.stats, expected);
    const std::array<SpiritEntry, kSpiritCount> spirits = {{{ListChoice::item(0), "5"},
                                                            {ListChoice::item(29), "99"},
                                                            {ListChoice::none(), "7"},
                                                            {ListChoice::none(), "8"},
                                                            {ListChoice::item(15), "0"},
                                                            {ListChoice::none(), "1"}}};
    EXPECT_EQ(record.spirits, spirits);
    EXPECT_EQ(record.personality, ListChoice::item(1)); // 0xD7: "普通"
}

TEST_F(PilotRecordTest, ASaveWithoutEditsChangesNoByte) {
    const auto image = SyntheticImage::flat(2000, 0xEE)
                           .place(P - 6, {0xD7})
                           .place(P, {0x4A, 0x57, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})
                           .place(P + 14, {0, 1, 31, 2, 3, 3, 4, 4, 5, 5, 6, 6});
    save(image);
    PilotRecord loaded = loadPilotRecord(m_path, m_full);
    savePilotRecord(m_path, m_full, loaded);
    const std::string after = readFile(m_path);
    // Terrain nibbles 10 and 7 and spirit codes 0 and 31 show as "--", no
    // selection and no command, yet keep their bits.
    EXPECT_EQ(after, image.bytes());
}

TEST_F(PilotRecordTest, EditsWriteTheBitsOfTheEditedFieldsOnly) {
    const auto image = SyntheticImage::flat(2000, 0xEE).place(P - 6, {0xD7});
    save(image);
    PilotRecord record = loadPilotRecord(m_path, m_full);
    record.stats = {ListChoice::item(4),
                    ListChoice::none(),
                    ListChoice::item(0),
                    ListChoice::item(3),
                    "256",
                    "abc",
                    "4660",
                    "65535",
                    "",
                    "-1",
                    "70000"};
    for (std::size_t i = 0; i < kSpiritCount; ++i)
        record.spirits[i] = {ListChoice::item(static_cast<int>(i)), std::to_string(300 + i)};
    record.personality = ListChoice::item(3); // "超强气"
    savePilotRecord(m_path, m_full, record);

    const std::string after = readFile(m_path);
    // Air "--" is what nibble 14 already shows and space has no selection:
    // byte P keeps both its nibbles.
    std::vector<Position> expected = {P - 6};
    const auto block = run(P + 1, 25);
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(changedPositions(image.bytes(), after), expected);
    EXPECT_EQ(
        readBytes(m_path, pilotRecordPositions(m_full)),
        (std::vector<int>{0xEE, 0x41, 0, 0,  0x34, 0x12, 0xFF, 0xFF, 0, 0,  0xFF, 0xFF, 0x70, 0x11,
                          1,    44,   2, 45, 3,    46,   4,    47,   5, 48, 6,    49,   0xF7}));
}

// Every field set, so that each byte it writes differs from a fill of 0xEE.
PilotRecord distinctRecord(PilotRecordKind kind) {
    PilotRecord record;
    record.kind = kind;
    record.stats = {ListChoice::item(0),
                    ListChoice::item(1),
                    ListChoice::item(2),
                    ListChoice::item(3),
                    "1",
                    "2",
                    "3",
                    "4",
                    "5",
                    "6",
                    "7"};
    for (std::size_t i = 0; i < kSpiritCount; ++i)
        record.spirits[i] = {ListChoice::item(static_cast<int>(i)), std::to_string(i + 1)};
    record.personality = ListChoice::item(0);
    return record;
}

TEST_F(PilotRecordTest, StatsOnlyAndSpiritsOnlyLeaveTheOtherBlocksAlone) {
    const auto image = SyntheticImage::flat(2000, 0xEE);
    save(image);
    const PilotReference statsOnly{2786, P, "s"};
    PilotRecord previous;
    previous.spirits[0] = {ListChoice::item(4), "12"};
    const PilotRecord loaded = loadPilotRecord(m_path, statsOnly, previous);
    EXPECT_EQ(loaded.kind, PilotRecordKind::StatsOnly);
    EXPECT_EQ(loaded.spirits, previous.spirits); // still the previous pilot's
    PilotRecord stats = distinctRecord(PilotRecordKind::StatsOnly);
    savePilotRecord(m_path, statsOnly, stats);
    std::vector<Position> written = {P - 6};
    for (Position p : run(P, 14))
        written.push_back(p);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), written);

    save(image);
    const PilotReference spiritsOnly{15188, P, "s"};
    EXPECT_EQ(loadPilotRecord(m_path, spiritsOnly).kind, PilotRecordKind::SpiritsOnly);
    PilotRecord spirits = distinctRecord(PilotRecordKind::SpiritsOnly);
    savePilotRecord(m_path, spiritsOnly, spirits);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), run(P, 12));
    EXPECT_EQ(readBytes(m_path, run(P, 4)), (std::vector<int>{1, 1, 2, 2}));
}

TEST_F(PilotRecordTest, HitSplitOverTheSectorGapOfAddress17947) {
    // A raw image whose data stream carries the record across a sector
    // boundary: the low byte of hit is the last byte of sector 0's data.
    const Position start = 2047 - 4;
    const Position p = SyntheticImage::rawPosition(start);
    auto image = SyntheticImage::rawSectors(3, 0xEE);
    image.layStream(start - 6, {0x20});
    image.layStream(start, {0x43, 0x21, 9, 8, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0});
    save(image);
    const PilotReference gap{17947, p, "g"};
    PilotRecord record = loadPilotRecord(m_path, gap);
    EXPECT_EQ(record.stats.hit, "4660");
    EXPECT_EQ(record.stats.reaction, "0");
    EXPECT_EQ(record.personality, ListChoice::item(2));
    EXPECT_EQ(p + 309, SyntheticImage::rawPosition(start + 5));

    record.stats.hit = "43981"; // 0xABCD
    savePilotRecord(m_path, gap, record);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)),
              (std::vector<Position>{p + 4, p + 309}));
    EXPECT_EQ(readBytes(m_path, std::vector<Position>{p + 4, p + 309}),
              (std::vector<int>{0xCD, 0xAB}));
}

TEST_F(PilotRecordTest, PersonalityOneGapBackForAddress4144) {
    const auto image = SyntheticImage::flat(2000, 0xEE).place(P - 310, {0x10}).place(P - 6, {0x30});
    save(image);
    const PilotReference reference{4144, P, "p"};
    PilotRecord record = loadPilotRecord(m_path, reference);
    EXPECT_EQ(record.personality, ListChoice::item(1));
    record.personality = ListChoice::item(2);
    savePilotRecord(m_path, reference, record);
    const auto changed = changedPositions(image.bytes(), readFile(m_path));
    EXPECT_EQ(std::count(changed.begin(), changed.end(), P - 6), 0);
    EXPECT_EQ(readBytes(m_path, std::vector<Position>{P - 310, P - 6}),
              (std::vector<int>{0x20, 0x30}));
}

TEST_F(PilotRecordTest, ARecordPastTheEndReadsAsTheCodecsSay) {
    save(SyntheticImage::flat(P + 2, 0x00).place(P - 6, {0x00}));
    const PilotRecord record = loadPilotRecord(m_path, m_full);
    EXPECT_EQ(record.stats.melee, "-1");
    EXPECT_EQ(record.stats.hit, "65535");
    EXPECT_EQ(record.spirits[5], (SpiritEntry{ListChoice::none(), "-1"}));
    EXPECT_EQ(record.stats.air, ListChoice::item(4)); // 0x00: "--"

    save(SyntheticImage::flat(P - 7, 0x00));
    const PilotRecord beyond = loadPilotRecord(m_path, m_full);
    EXPECT_EQ(beyond.personality, ListChoice::item(3)); // the byte counts as 0xFF
    EXPECT_EQ(beyond.stats.land, ListChoice::item(4));
}

TEST_F(PilotRecordTest, BadImageOrPositionThrowsAndWritesNothing) {
    EXPECT_THROW((void)loadPilotRecord(m_dir.file("missing.img"), m_full), CoreError);
    const auto image = SyntheticImage::flat(100, 0xEE);
    save(image);
    const PilotReference early{100, 3, "e"}; // personality at -3
    try {
        PilotRecord empty;
        savePilotRecord(m_path, early, empty);
        ADD_FAILURE() << "no CoreError";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::PositionOutOfRange);
        EXPECT_EQ(error.position(), -3);
    }
    EXPECT_EQ(readFile(m_path), image.bytes());
}

// A Full record's planned bytes, all zero but the one at `offset`.
std::vector<int> fullBytesWith(RecordOffset offset, int byte) {
    const auto& layout = pilotLayout(PilotRecordKind::Full);
    std::vector<int> bytes(layout.offsets().size(), 0);
    bytes[layout.indexOf(offset)] = byte;
    return bytes;
}

TEST(PilotFields, PersonalityKeepsTheOtherSixBits) {
    const auto& layout = pilotLayout(PilotRecordKind::Full);
    const std::size_t at = layout.indexOf(kPersonalityOffset);
    PilotRecord record = layout.decode(fullBytesWith(kPersonalityOffset, 0xD7));
    EXPECT_EQ(record.personality, ListChoice::item(1));
    record.personality = ListChoice::item(3);
    EXPECT_EQ(layout.encode(record)[at], 0xF7);
    EXPECT_EQ(layout.decode(fullBytesWith(kPersonalityOffset, kEndOfFile)).personality,
              ListChoice::item(3));
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(layout.encode(layout.decode(fullBytesWith(kPersonalityOffset, byte)))[at], byte);
}

TEST(PilotFields, SpiritCodesOutsideOneToThirtyAreNoCommandAndNeverWritten) {
    const auto& layout = pilotLayout(PilotRecordKind::Full);
    const RecordOffset command = kStatBlockSize; // spirit 1
    EXPECT_EQ(layout.decode(fullBytesWith(command, 1)).spirits[0].command, ListChoice::item(0));
    EXPECT_EQ(SpiritCommand::kItems[29], "侦察");
    EXPECT_EQ(layout.decode(fullBytesWith(command, 30)).spirits[0].command, ListChoice::item(29));
    const std::vector<Position> positions(layout.offsets().begin(), layout.offsets().end());
    for (int code : {0, 31, 255, kEndOfFile}) {
        PilotRecord record = layout.decode(fullBytesWith(command, code));
        EXPECT_TRUE(record.spirits[0].command.isNone()) << "code " << code;
        record.spirits[0].level = "9";
        EXPECT_EQ(layout.savePlan(positions, record).size(), 1u) << "only the level: code " << code;
    }
}

} // namespace
} // namespace starfall
