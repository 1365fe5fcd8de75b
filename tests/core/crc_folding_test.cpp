#include "core/io/Crc32.h"
#include "core/io/CrcFolding.h"
#include "core/sector/SectorCodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace starfall {
namespace {

// Both CRCs bit by bit, as defined: the fast paths must match these and not
// merely each other, so that a wrong folding key is caught.
std::uint32_t bitwise(std::uint32_t polynomial, std::uint32_t crc, const std::uint8_t* bytes,
                      std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1U) != 0 ? polynomial : 0U);
    }
    return crc;
}
std::uint32_t zlibCrc(const std::uint8_t* bytes, std::size_t size) {
    return ~bitwise(0xEDB88320U, 0xFFFFFFFFU, bytes, size);
}
std::uint32_t edcCrc(const std::uint8_t* bytes, std::size_t size) {
    return bitwise(0xD8018001U, 0, bytes, size);
}

std::vector<std::uint8_t> noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

// Every length across the table-only sizes, one fold of four blocks, the
// single-block folds and the leftover bytes, at every alignment of a block.
TEST(CrcFoldingTest, BothCrcsMatchTheBitwiseDefinitionAtEveryLengthAndAlignment) {
    const std::vector<std::uint8_t> bytes = noise(16 + 300, 3);
    for (std::size_t from = 0; from < 16; ++from) {
        for (std::size_t size = 0; from + size <= bytes.size(); ++size) {
            const std::span<const std::uint8_t> piece = std::span(bytes).subspan(from, size);
            ASSERT_EQ(crc32Of(piece), zlibCrc(piece.data(), size)) << from << "+" << size;
            ASSERT_EQ(crc32ByTable(piece), zlibCrc(piece.data(), size)) << from << "+" << size;
            ASSERT_EQ(sector::edc(piece), edcCrc(piece.data(), size)) << from << "+" << size;
            ASSERT_EQ(sector::edcByTable(piece), edcCrc(piece.data(), size))
                << from << "+" << size;
        }
    }
}

// A register carried in from earlier pieces must enter the fold, not be
// dropped or taken in twice.
TEST(CrcFoldingTest, ARunFedInPiecesMatchesItFedWhole) {
    const std::vector<std::uint8_t> bytes = noise(1 << 16, 5);
    const std::uint32_t whole = zlibCrc(bytes.data(), bytes.size());
    for (const std::size_t piece : {1U, 15U, 64U, 100U, 4096U, 65535U}) {
        Crc32 crc;
        for (std::size_t at = 0; at < bytes.size(); at += piece)
            crc.update(std::span(bytes).subspan(at, std::min(piece, bytes.size() - at)));
        EXPECT_EQ(crc.value(), whole) << "pieces of " << piece;
    }
    const std::size_t half = bytes.size() / 2 + 7;
    const std::uint32_t first = sector::edc(std::span(bytes).first(half));
    EXPECT_EQ(sector::edcByTable(std::span(bytes).subspan(half), first),
              edcCrc(bytes.data(), bytes.size()));
}

TEST(CrcFoldingTest, KnownCheckValues) {
    const std::string digits = "123456789";
    const std::span<const std::uint8_t> text(reinterpret_cast<const std::uint8_t*>(digits.data()),
                                             digits.size());
    EXPECT_EQ(crc32Of(text), 0xCBF43926U);
    // A megabyte of one value, folded all the way, against the same through the table.
    const std::vector<std::uint8_t> ones(1 << 20, 0xA5);
    EXPECT_EQ(crc32Of(ones), crc32ByTable(ones));
    EXPECT_EQ(sector::edc(ones), sector::edcByTable(ones));
}

// The fold itself, at each width the processor has: sixteen bytes left over
// whose CRC from zero carries on into the rest. Each width is held to the
// definition, so that a wrong key or a wrong path is caught even where the
// dispatch would pick another.
TEST(CrcFoldingTest, EachFoldWidthLeavesSixteenBytesThatStandForTheBlocks) {
    std::vector<crcfold::FoldWidth> widths;
    if (crcfold::widest() != crcfold::FoldWidth::None)
        widths.push_back(crcfold::FoldWidth::Narrow);
    if (crcfold::widest() == crcfold::FoldWidth::Wide)
        widths.push_back(crcfold::FoldWidth::Wide);
    if (widths.empty())
        GTEST_SKIP() << "no carry-less multiply on this processor";
    constexpr std::uint32_t kEdcPolynomial = 0xD8018001U;
    const crcfold::FoldKeys keys = crcfold::foldKeys(kEdcPolynomial);
    const std::vector<std::uint8_t> bytes = noise(4096 + 9, 9);
    for (const crcfold::FoldWidth width : widths) {
        for (const std::size_t size : {64U, 64U + 16 * 5 + 9, 256U, 256U + 16 * 11 + 3, 4105U}) {
            for (const std::uint32_t start : {0U, 1U, 0x80000000U, 0xDEADBEEFU}) {
                const auto piece = std::span(bytes).first(size);
                std::array<std::uint8_t, 16> rest{};
                const std::size_t folded = crcfold::foldAs(width, keys, start, piece, rest);
                EXPECT_EQ(folded, size / 16 * 16);
                const std::uint32_t fromRest =
                    bitwise(kEdcPolynomial, bitwise(kEdcPolynomial, 0, rest.data(), rest.size()),
                            piece.data() + folded, size - folded);
                EXPECT_EQ(fromRest, bitwise(kEdcPolynomial, start, piece.data(), size))
                    << "width " << static_cast<int>(width) << ", " << size << " bytes";
            }
        }
    }
}

} // namespace
} // namespace starfall
