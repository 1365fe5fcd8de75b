#include "core/sector/SectorCodes.h"

#include <algorithm>

namespace starfall::sector {

namespace {

constexpr std::size_t kHeaderAt = 12;
constexpr std::size_t kSubheaderAt = 16;
constexpr std::size_t kModeAt = 15;
constexpr std::size_t kSubmodeAt = 18;
constexpr std::uint8_t kSubmodeForm2 = 0x20;
constexpr std::size_t kPAt = 2076;
constexpr std::size_t kQAt = 2248;

// The parity covers the bytes from the header to the P parity as 16-bit
// words; each of the two byte planes is coded on its own.
constexpr std::size_t kPColumns = 43; // one P codeword per column of 24 words
constexpr std::size_t kPRows = 24;
constexpr std::size_t kQDiagonals = 26; // one Q codeword per diagonal of 43 words
constexpr std::size_t kQLength = 43;
constexpr std::size_t kQSpan = 1118; // words the Q diagonals run through (data and P)

// The CRC of x^32 + x^31 + x^16 + x^15 + x^4 + x^3 + x + 1, bit-reversed.
constexpr std::uint32_t kEdcPolynomial = 0xD8018001;

constexpr std::array<std::uint32_t, 256> makeEdcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value >> 1) ^ ((value & 1U) != 0 ? kEdcPolynomial : 0U);
        table[i] = value;
    }
    return table;
}
constexpr auto kEdcTable = makeEdcTable();

// GF(2^8) with the field polynomial x^8 + x^4 + x^3 + x^2 + 1 and alpha = 2.
struct Field {
    std::array<std::uint8_t, 512> exp{};
    std::array<int, 256> log{};
    constexpr Field() {
        int value = 1;
        for (int i = 0; i < 255; ++i) {
            exp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
            exp[static_cast<std::size_t>(i + 255)] = static_cast<std::uint8_t>(value);
            log[static_cast<std::size_t>(value)] = i;
            value <<= 1;
            if (value & 0x100)
                value ^= 0x11D;
        }
    }
    [[nodiscard]] constexpr std::uint8_t times(std::uint8_t a, int power) const {
        return a == 0 ? 0 : exp[static_cast<std::size_t>(log[a] + power)];
    }
};
constexpr Field kField;

constexpr std::uint8_t kAlpha = 2;
// Dividing by 1 + alpha is multiplying by alpha^(255 - log(1 + alpha)).
constexpr int kOverOnePlusAlpha = 255 - Field{}.log[1 ^ kAlpha];

// For symbols v0..v(n-1) followed by parity p0, p1, solves the two checks
// sum(v) + p0 + p1 = 0 and sum(alpha^(n+1-i) v_i) + alpha p0 + p1 = 0.
template <typename Symbol> std::array<std::uint8_t, 2> parity(std::size_t n, Symbol symbol) {
    std::uint8_t plain = 0;
    std::uint8_t weighted = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t v = symbol(i);
        plain ^= v;
        weighted = kField.times(static_cast<std::uint8_t>(weighted ^ v), 1);
    }
    weighted = kField.times(weighted, 1);
    const std::uint8_t p0 =
        kField.times(static_cast<std::uint8_t>(plain ^ weighted), kOverOnePlusAlpha);
    return {p0, static_cast<std::uint8_t>(plain ^ p0)};
}

// The byte of word `word` in byte plane `plane`, counted from the header.
constexpr std::size_t wordByte(std::size_t word, std::size_t plane) {
    return kHeaderAt + 2 * word + plane;
}

static_assert(wordByte(kPColumns * kPRows, 0) == kPAt);
static_assert(wordByte(kQSpan, 0) == kQAt);
static_assert(wordByte(kQSpan + 2 * kQDiagonals, 0) == kSectorSize);

// Fills P then Q into `sector`, whose header must already read as zero.
void writeParity(Sector sector) {
    for (std::size_t plane = 0; plane < 2; ++plane) {
        for (std::size_t column = 0; column < kPColumns; ++column) {
            const auto p = parity(kPRows, [&](std::size_t row) {
                return sector[wordByte(column + kPColumns * row, plane)];
            });
            sector[wordByte(kPColumns * kPRows + column, plane)] = p[0];
            sector[wordByte(kPColumns * (kPRows + 1) + column, plane)] = p[1];
        }
    }
    for (std::size_t plane = 0; plane < 2; ++plane) {
        for (std::size_t diagonal = 0; diagonal < kQDiagonals; ++diagonal) {
            const auto q = parity(kQLength, [&](std::size_t step) {
                return sector[wordByte((44 * step + 43 * diagonal) % kQSpan, plane)];
            });
            sector[wordByte(kQSpan + diagonal, plane)] = q[0];
            sector[wordByte(kQSpan + kQDiagonals + diagonal, plane)] = q[1];
        }
    }
}

void storeEdc(Sector sector, std::size_t from, std::size_t at) {
    const std::uint32_t value = edc(std::span<const std::uint8_t>(sector).subspan(from, at - from));
    for (std::size_t i = 0; i < 4; ++i)
        sector[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t storedEdc(ConstSector sector, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(sector[at + i]) << (8 * i);
    return value;
}

// A copy of the sector with its codes recomputed.
std::array<std::uint8_t, kSectorSize> recomputed(ConstSector sector) {
    std::array<std::uint8_t, kSectorSize> copy{};
    std::copy(sector.begin(), sector.end(), copy.begin());
    writeForm1Codes(copy);
    return copy;
}

} // namespace

Form formOf(ConstSector sector) {
    if (!std::equal(kSync.begin(), kSync.end(), sector.begin()) || sector[kModeAt] != 2)
        return Form::Other;
    return (sector[kSubmodeAt] & kSubmodeForm2) != 0 ? Form::Form2 : Form::Form1;
}

std::uint32_t edc(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0;
    for (const std::uint8_t byte : bytes)
        crc = (crc >> 8) ^ kEdcTable[(crc ^ byte) & 0xFFU];
    return crc;
}

Check check(ConstSector sector) {
    switch (formOf(sector)) {
    case Form::Form1: {
        const auto expected = recomputed(sector);
        return {std::equal(sector.begin() + kDataEnd, sector.begin() + kPAt,
                           expected.begin() + kDataEnd),
                std::equal(sector.begin() + kPAt, sector.end(), expected.begin() + kPAt)};
    }
    case Form::Form2: {
        const std::uint32_t stored = storedEdc(sector, kForm2EdcAt);
        return {stored == 0 ||
                    stored == edc(sector.subspan(kSubheaderAt, kForm2EdcAt - kSubheaderAt)),
                true};
    }
    case Form::Other:
        break;
    }
    return {};
}

void writeForm1Codes(Sector sector) {
    storeEdc(sector, kSubheaderAt, kDataEnd);
    // Mode 2 parity is computed as if the header were zero; the header stays.
    std::array<std::uint8_t, 4> header{};
    std::copy_n(sector.begin() + kHeaderAt, header.size(), header.begin());
    std::fill_n(sector.begin() + kHeaderAt, header.size(), std::uint8_t{0});
    writeParity(sector);
    std::copy(header.begin(), header.end(), sector.begin() + kHeaderAt);
}

void writeForm2Edc(Sector sector) {
    storeEdc(sector, kSubheaderAt, kForm2EdcAt);
}

} // namespace starfall::sector
