#include "core/io/CoreError.h"
#include "core/patch/PatchFile.h"
#include "core/patch/PpfWriter.h"
#include "core/text/PatchFaultTexts.h"

#include "support/HandPatches.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace starfall {
namespace {

using patch::PpfPatch;
using patch::PpfVersion;
using test::Bytes;

const std::string kPath = "hand.ppf";

Bytes pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

PpfPatch read(const Bytes& file) {
    return std::get<PpfPatch>(patch::parsePatch(file, kPath));
}

std::vector<std::pair<Position, Bytes>> newBytesOf(const PpfPatch& patch) {
    std::vector<std::pair<Position, Bytes>> out;
    for (const patch::PpfRecord& record : patch.records) {
        const auto bytes = patch.newBytes(record);
        out.emplace_back(record.offset, Bytes(bytes.begin(), bytes.end()));
    }
    return out;
}

// The damage a reader must name: what, and where in the file.
void expectDamaged(const Bytes& file, PatchFault fault, Position at, const char* what) {
    try {
        (void)patch::parsePatch(file, kPath);
        ADD_FAILURE() << what << ": read";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::PatchDamaged) << what;
        EXPECT_EQ(error.detail(), messages::patchFault(fault)) << what;
        EXPECT_EQ(error.position(), at) << what;
    }
}

TEST(PpfTest, EachVersionReadsItsHeaderRecordsAndFileIdDiz) {
    const Bytes block = pattern(1024, 3);
    const std::vector<test::HandRecord> records = {{0x9400, {1, 2, 3}, {}}, {7, {9}, {}}};

    const PpfPatch v1 = read(test::ppf1("one", records));
    EXPECT_EQ(v1.version, PpfVersion::V1);
    EXPECT_EQ(v1.description, "one");
    EXPECT_FALSE(v1.blockCheckAt);
    EXPECT_EQ(newBytesOf(v1),
              (std::vector<std::pair<Position, Bytes>>{{0x9400, {1, 2, 3}}, {7, {9}}}));

    const PpfPatch v2 = read(test::ppf2("two", 123456, block, records, "hello\r\nworld"));
    EXPECT_EQ(v2.version, PpfVersion::V2);
    EXPECT_EQ(v2.imageSize, 123456u);
    EXPECT_EQ(*v2.blockCheckAt, 60u);
    EXPECT_TRUE(std::ranges::equal(v2.blockCheck(), block));
    EXPECT_EQ(v2.records.front().at, 1084u + 5);
    EXPECT_EQ(newBytesOf(v2), newBytesOf(v1));
    EXPECT_EQ(v2.diz, "hello\r\nworld");

    const PpfPatch v3 =
        read(test::ppf3("three", block, true, {{0x2345'6789, {4, 5}, {6, 7}}}, "diz", 1));
    EXPECT_EQ(v3.version, PpfVersion::V3);
    EXPECT_EQ(v3.imageType, patch::PpfImageType::Gi);
    EXPECT_TRUE(v3.undo);
    EXPECT_EQ(v3.records.at(0).offset, 0x2345'6789);
    EXPECT_TRUE(std::ranges::equal(v3.oldBytes(v3.records[0]), Bytes{6, 7}));
    EXPECT_EQ(v3.diz, "diz");
}

// PPF records carry no count: a cut between two records leaves a sound,
// shorter patch. Every other cut is refused.
TEST(PpfTest, EveryCutIsRefusedUnlessItFallsBetweenRecords) {
    const Bytes whole =
        test::ppf3("cut", pattern(1024, 1), true,
                   {{100, {1, 2}, {3, 4}}, {200, {5}, {6}}, {300, {7, 8, 9}, {0, 0, 0}}}, "text");
    const std::size_t records = 60 + 1024;
    const std::vector<std::size_t> boundaries = {records, records + 13, records + 24, records + 39};
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const bool boundary = std::ranges::find(boundaries, size) != boundaries.end();
        try {
            (void)read(cut);
            EXPECT_TRUE(boundary) << "a cut at " << size << " was read";
        } catch (const CoreError& error) {
            EXPECT_FALSE(boundary) << size;
            EXPECT_EQ(error.failure(), Failure::PatchDamaged) << size;
        }
    }
}

TEST(PpfTest, DamagedFilesAreRefusedNamingWhatAndWhere) {
    const auto edited = [](Bytes file, std::size_t at, std::uint8_t value) {
        file.at(at) = value;
        return file;
    };
    const Bytes sound = test::ppf3("d", std::nullopt, false, {{10, {1}, {}}}, "x");
    expectDamaged(edited(sound, 0, 'Q'), PatchFault::UnknownFormat, 0, "magic");
    expectDamaged(edited(sound, 5, 1), PatchFault::BadHeader, 5, "encoding byte");
    expectDamaged(edited(sound, 56, 2), PatchFault::BadHeader, 56, "image type");
    expectDamaged(edited(sound, 57, 2), PatchFault::BadHeader, 57, "block check flag");
    expectDamaged(edited(sound, 58, 7), PatchFault::BadHeader, 58, "undo flag");
    expectDamaged(test::ppf3("d", std::nullopt, false, {{10, {1}, {}}, {20, {}, {}}}),
                  PatchFault::ZeroLengthRecord, 70, "record of length 0");
    expectDamaged(test::ppf1("d", {{10, {}, {}}}), PatchFault::ZeroLengthRecord, 56,
                  "PPF 1.0 length 0");
    expectDamaged(test::ppf3("d", std::nullopt, false, {{Position{1} << 31, {1}, {}}}),
                  PatchFault::BeyondAddressable, 60, "offset past 2 GiB");
    // The trailer's length no longer reaches back to its begin marker.
    expectDamaged(edited(sound, sound.size() - 2, 2), PatchFault::DizUnterminated, 69,
                  "DIZ length");
    // The end marker cut away: the begin marker stands where a record would.
    Bytes unterminated = test::ppf3("d", std::nullopt, false, {{10, {1}, {}}}, "x");
    unterminated.resize(unterminated.size() - 16 - 2);
    expectDamaged(unterminated, PatchFault::DizUnterminated, 70, "DIZ end marker");
}

TEST(PpfTest, WriterFollowsThePpf3LayoutAndSplitsRunsInto255ByteRecords) {
    const Bytes next = pattern(300, 1);
    const Bytes previous = pattern(300, 2);
    patch::ByteChanges changes;
    changes.next = {{0x10, next}, {0x9000, {0xAA}}};
    changes.previous = {{0x10, previous}, {0x9000, {0xBB}}};
    const Bytes block = pattern(1024, 9);
    const Bytes file = patch::writePpf3({"mod", block, true, "read me"}, changes);

    const auto part = [](const Bytes& bytes, std::size_t from, std::size_t to) {
        return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                     bytes.begin() + static_cast<std::ptrdiff_t>(to));
    };
    const Bytes expected = test::ppf3("mod", block, true,
                                      {{0x10, part(next, 0, 255), part(previous, 0, 255)},
                                       {0x10 + 255, part(next, 255, 300), part(previous, 255, 300)},
                                       {0x9000, {0xAA}, {0xBB}}},
                                      "read me");
    EXPECT_EQ(file, expected);
    EXPECT_EQ(read(file).records.size(), 3u);
}

} // namespace
} // namespace starfall
