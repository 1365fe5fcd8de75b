#include "core/sector/SectorCodes.h"

#include <algorithm>
#include <cstring>

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

// Slice-by-16: table k advances the CRC over a byte followed by k zero bytes,
// so that sixteen bytes take sixteen independent look-ups.
using EdcTables = std::array<std::array<std::uint32_t, 256>, 16>;
constexpr EdcTables makeEdcTables() {
    EdcTables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value >> 1) ^ ((value & 1U) != 0 ? kEdcPolynomial : 0U);
        tables[0][i] = value;
    }
    for (std::size_t k = 1; k < tables.size(); ++k) {
        for (std::size_t i = 0; i < 256; ++i)
            tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFFU];
    }
    return tables;
}
constexpr EdcTables kEdcTables = makeEdcTables();

std::uint32_t littleWord(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// GF(2^8) with the field polynomial x^8 + x^4 + x^3 + x^2 + 1 and alpha = 2.
// The parity works on eight symbols at once, each in its own byte of a word.
using Lanes = std::uint64_t;
constexpr Lanes kLowBits = 0x0101010101010101ULL;
constexpr Lanes kReduction = 0x1D; // x^8 = x^4 + x^3 + x^2 + 1

// Times alpha in every byte: a shift, and the reduction where the top bit fell out.
constexpr Lanes timesAlpha(Lanes x) {
    return ((x & (kLowBits * 0x7F)) << 1) ^ (((x >> 7) & kLowBits) * kReduction);
}

constexpr std::uint8_t timesAlpha(std::uint8_t x) {
    return static_cast<std::uint8_t>(timesAlpha(Lanes{x}));
}

// Dividing by 1 + alpha, as a table: alpha * y ^ y for every y, turned round.
constexpr std::array<std::uint8_t, 256> makeOverOnePlusAlpha() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned y = 0; y < 256; ++y) {
        const auto symbol = static_cast<std::uint8_t>(y);
        table[static_cast<std::uint8_t>(timesAlpha(symbol) ^ symbol)] = symbol;
    }
    return table;
}
constexpr auto kOverOnePlusAlpha = makeOverOnePlusAlpha();

// The byte of word `word` in byte plane `plane`, counted from the header.
constexpr std::size_t wordByte(std::size_t word, std::size_t plane) {
    return kHeaderAt + 2 * word + plane;
}

static_assert(wordByte(kPColumns * kPRows, 0) == kPAt);
static_assert(wordByte(kQSpan, 0) == kQAt);
static_assert(wordByte(kQSpan + 2 * kQDiagonals, 0) == kSectorSize);

// Codewords side by side, one a byte: symbol i of every codeword comes in
// one call. For symbols v0..v(n-1) followed by parity p0, p1, the parity
// solves sum(v) + p0 + p1 = 0 and sum(alpha^(n+1-i) v_i) + alpha p0 + p1 = 0.
template <std::size_t Codewords> class ParityLanes {
public:
    static constexpr std::size_t kWords = (Codewords + sizeof(Lanes) - 1) / sizeof(Lanes);

    // `symbols` holds one symbol of each codeword.
    void add(const std::uint8_t* symbols) {
        std::array<Lanes, kWords> next{};
        std::memcpy(next.data(), symbols, Codewords);
        for (std::size_t w = 0; w < kWords; ++w) {
            m_plain[w] ^= next[w];
            m_weighted[w] = timesAlpha(m_weighted[w] ^ next[w]);
        }
    }

    // Writes p0 of each codeword to `first`, p1 to `second`.
    void finish(std::uint8_t* first, std::uint8_t* second) const {
        std::array<std::uint8_t, kWords * sizeof(Lanes)> plain{};
        std::array<std::uint8_t, kWords * sizeof(Lanes)> weighted{};
        std::array<Lanes, kWords> shifted{};
        for (std::size_t w = 0; w < kWords; ++w)
            shifted[w] = timesAlpha(m_weighted[w]);
        std::memcpy(plain.data(), m_plain.data(), plain.size());
        std::memcpy(weighted.data(), shifted.data(), weighted.size());
        for (std::size_t i = 0; i < Codewords; ++i) {
            const std::uint8_t p0 = kOverOnePlusAlpha[plain[i] ^ weighted[i]];
            first[i] = p0;
            second[i] = static_cast<std::uint8_t>(plain[i] ^ p0);
        }
    }

private:
    std::array<Lanes, kWords> m_plain{};
    std::array<Lanes, kWords> m_weighted{};
};

// A P codeword is a column: row r of all 43 columns, both planes, is one run
// of 86 bytes, and so are the two parity rows after them.
void writeP(Sector sector) {
    constexpr std::size_t kRowBytes = 2 * kPColumns;
    ParityLanes<kRowBytes> lanes;
    for (std::size_t row = 0; row < kPRows; ++row)
        lanes.add(sector.data() + wordByte(kPColumns * row, 0));
    lanes.finish(sector.data() + kPAt, sector.data() + kPAt + kRowBytes);
}

// Step s of diagonal d is word (44 s + 43 d) mod 1118: gathered a step at a
// time, the 26 diagonals of both planes make 52 lanes, and their parity two
// runs of 52 bytes.
using QWords = std::array<std::array<std::uint16_t, kQDiagonals>, kQLength>;
constexpr QWords makeQWords() {
    QWords at{};
    for (std::size_t step = 0; step < kQLength; ++step) {
        for (std::size_t diagonal = 0; diagonal < kQDiagonals; ++diagonal)
            at[step][diagonal] =
                static_cast<std::uint16_t>(wordByte((44 * step + 43 * diagonal) % kQSpan, 0));
    }
    return at;
}
constexpr QWords kQWords = makeQWords();

void writeQ(Sector sector) {
    constexpr std::size_t kStepBytes = 2 * kQDiagonals;
    ParityLanes<kStepBytes> lanes;
    std::array<std::uint8_t, kStepBytes> step{};
    for (const auto& words : kQWords) {
        for (std::size_t diagonal = 0; diagonal < kQDiagonals; ++diagonal)
            std::memcpy(step.data() + 2 * diagonal, sector.data() + words[diagonal], 2);
        lanes.add(step.data());
    }
    lanes.finish(sector.data() + kQAt, sector.data() + kQAt + kStepBytes);
}

// Fills P then Q into `sector`, whose header must already read as zero.
void writeParity(Sector sector) {
    writeP(sector);
    writeQ(sector);
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
    const std::uint8_t* at = bytes.data();
    const std::uint8_t* const end = at + bytes.size();
    const auto& t = kEdcTables;
    for (; end - at >= 16; at += 16) {
        const std::uint32_t a = crc ^ littleWord(at);
        const std::uint32_t b = littleWord(at + 4);
        const std::uint32_t c = littleWord(at + 8);
        const std::uint32_t d = littleWord(at + 12);
        crc = t[15][a & 0xFFU] ^ t[14][(a >> 8) & 0xFFU] ^ t[13][(a >> 16) & 0xFFU] ^
              t[12][a >> 24] ^ t[11][b & 0xFFU] ^ t[10][(b >> 8) & 0xFFU] ^
              t[9][(b >> 16) & 0xFFU] ^ t[8][b >> 24] ^ t[7][c & 0xFFU] ^
              t[6][(c >> 8) & 0xFFU] ^ t[5][(c >> 16) & 0xFFU] ^ t[4][c >> 24] ^
              t[3][d & 0xFFU] ^ t[2][(d >> 8) & 0xFFU] ^ t[1][(d >> 16) & 0xFFU] ^ t[0][d >> 24];
    }
    for (; at != end; ++at)
        crc = (crc >> 8) ^ t[0][(crc ^ *at) & 0xFFU];
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
