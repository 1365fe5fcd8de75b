#include "core/sector/SectorCodes.h"

#include "core/io/CrcFolding.h"

#include <algorithm>
#include <bit>
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
constexpr crcfold::FoldKeys kEdcFoldKeys = crcfold::foldKeys(kEdcPolynomial);

std::uint32_t littleWord(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// GF(2^8) with the field polynomial x^8 + x^4 + x^3 + x^2 + 1 and alpha = 2.
// The parity works on sixteen symbols at once, each in its own byte of a
// vector; read as signed, a compare picks out the bytes whose top bit is set.
using Lanes = std::uint8_t __attribute__((vector_size(16)));
using SignedLanes = std::int8_t __attribute__((vector_size(16)));
constexpr std::int8_t kReduction = 0x1D; // x^8 = x^4 + x^3 + x^2 + 1

// Times alpha in every byte: a shift, and the reduction where the top bit fell out.
inline Lanes timesAlpha(Lanes x) {
    const SignedLanes topBitSet = std::bit_cast<SignedLanes>(x) < 0;
    return (x + x) ^ std::bit_cast<Lanes>(topBitSet & kReduction);
}

constexpr std::uint8_t timesAlpha(std::uint8_t x) {
    return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80U) != 0 ? kReduction : 0));
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

    // `symbols` holds one symbol of each codeword, and is read on to a
    // whole number of vectors: the lanes past the codewords are never written.
    void add(const std::uint8_t* symbols) {
        for (std::size_t w = 0; w < kWords; ++w) {
            Lanes next;
            std::memcpy(&next, symbols + w * sizeof(Lanes), sizeof(Lanes));
            add(w, next);
        }
    }
    // Vector `w` of symbols, built in registers.
    void add(std::size_t w, Lanes next) {
        m_plain[w] ^= next;
        m_weighted[w] = timesAlpha(m_weighted[w] ^ next);
    }

    // Writes p0 of each codeword to `first`, p1 to `second`.
    void finish(std::uint8_t* first, std::uint8_t* second) const {
        std::uint8_t plain[kWords * sizeof(Lanes)];
        std::uint8_t weighted[kWords * sizeof(Lanes)];
        Lanes shifted[kWords];
        for (std::size_t w = 0; w < kWords; ++w)
            shifted[w] = timesAlpha(m_weighted[w]);
        std::memcpy(plain, static_cast<const void*>(m_plain), sizeof(plain));
        std::memcpy(weighted, static_cast<const void*>(shifted), sizeof(weighted));
        for (std::size_t i = 0; i < Codewords; ++i) {
            const std::uint8_t p0 = kOverOnePlusAlpha[plain[i] ^ weighted[i]];
            first[i] = p0;
            second[i] = static_cast<std::uint8_t>(plain[i] ^ p0);
        }
    }

private:
    Lanes m_plain[kWords] = {};
    Lanes m_weighted[kWords] = {};
};

// A P codeword is a column: row r of all 43 columns, both planes, is one run
// of 86 bytes, and so are the two parity rows after them. The last row is
// read on into the parity, to a whole vector; those lanes are not used.
void writeP(Sector sector) {
    constexpr std::size_t kRowBytes = 2 * kPColumns;
    using Rows = ParityLanes<kRowBytes>;
    static_assert(wordByte(kPColumns * (kPRows - 1), 0) + Rows::kWords * sizeof(Lanes) <=
                  kSectorSize);
    Rows lanes;
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

// Each vector of a step is put together word by word in a register: stored
// word by word and loaded whole, it would wait on every store.
void writeQ(Sector sector) {
    using Words = std::uint16_t __attribute__((vector_size(sizeof(Lanes))));
    constexpr std::size_t kPerVector = sizeof(Lanes) / 2;
    constexpr std::size_t kStepBytes = 2 * kQDiagonals;
    ParityLanes<kStepBytes> lanes;
    for (const auto& words : kQWords) {
        for (std::size_t w = 0; w < lanes.kWords; ++w) {
            Words step = {};
            for (std::size_t i = 0; i < kPerVector && w * kPerVector + i < kQDiagonals; ++i) {
                std::uint16_t word = 0;
                std::memcpy(&word, sector.data() + words[w * kPerVector + i], 2);
                step[i] = word;
            }
            lanes.add(w, std::bit_cast<Lanes>(step));
        }
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

std::uint32_t edcByTable(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
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

std::uint32_t edc(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < crcfold::kFoldMinimum || !crcfold::available())
        return edcByTable(bytes);
    std::array<std::uint8_t, 16> rest{};
    const std::size_t folded = crcfold::fold(kEdcFoldKeys, 0, bytes, rest);
    return edcByTable(bytes.subspan(folded), edcByTable(rest));
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
