#include "core/sector/SectorCodes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>

namespace starfall::sector {
namespace {

using Bytes = std::array<std::uint8_t, kSectorSize>;

Bytes mode2Sector(std::uint8_t submode) {
    Bytes s{};
    std::copy(kSync.begin(), kSync.end(), s.begin());
    s[12] = 0x00;
    s[13] = 0x02;
    s[14] = 0x00;
    s[15] = 2;
    s[18] = submode;
    s[22] = submode;
    return s;
}

Bytes noisyForm1Sector(unsigned seed) {
    Bytes s = mode2Sector(0x08);
    std::mt19937 random(seed);
    for (std::size_t i = kDataStart; i < kDataEnd; ++i)
        s[i] = static_cast<std::uint8_t>(random());
    writeForm1Codes(s);
    return s;
}

// GF(2^8) arithmetic written out the slow way, so that the parity is checked
// against the definition rather than against the code under test.
std::uint8_t multiply(std::uint8_t a, std::uint8_t b) {
    std::uint8_t product = 0;
    for (int bit = 0; bit < 8; ++bit, b >>= 1) {
        if (b & 1U)
            product ^= a;
        const bool carry = (a & 0x80U) != 0;
        a = static_cast<std::uint8_t>(a << 1);
        if (carry)
            a ^= 0x1D; // x^8 = x^4 + x^3 + x^2 + 1
    }
    return product;
}

std::uint8_t alphaPower(int n) {
    std::uint8_t value = 1;
    for (int i = 0; i < n; ++i)
        value = multiply(value, 2);
    return value;
}

// Both checks of one codeword: sum(v) = 0 and sum(alpha^(len-1-i) v_i) = 0.
template <typename At> bool codewordHolds(int length, At at, const Bytes& s) {
    std::uint8_t plain = 0;
    std::uint8_t weighted = 0;
    for (int i = 0; i < length; ++i) {
        plain ^= s[at(i)];
        weighted ^= multiply(alphaPower(length - 1 - i), s[at(i)]);
    }
    return plain == 0 && weighted == 0;
}

// The parity is defined over the sector with its header taken as zero.
Bytes withZeroHeader(Bytes s) {
    std::fill_n(s.begin() + 12, 4, std::uint8_t{0});
    return s;
}

// The codes worked out one symbol at a time, as plainly as they are defined:
// a bitwise CRC, and each P and Q codeword's parity by Horner's rule, so that
// any table the fast code uses is checked against the arithmetic itself.
namespace reference {

std::uint32_t edc(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1U) != 0 ? 0xD8018001U : 0U);
    }
    return crc;
}

// Parity p0, p1 after symbols v: sum(v) + p0 + p1 = 0 and
// sum(alpha^(n+1-i) v_i) + alpha p0 + p1 = 0.
template <typename At> std::array<std::uint8_t, 2> parity(std::size_t n, At at, const Bytes& s) {
    std::uint8_t plain = 0;
    std::uint8_t weighted = 0;
    for (std::size_t i = 0; i < n; ++i) {
        plain ^= s[at(i)];
        weighted = multiply(static_cast<std::uint8_t>(weighted ^ s[at(i)]), 2);
    }
    weighted = multiply(weighted, 2);
    // p0 (1 + alpha) = plain + weighted: try every symbol.
    const auto rhs = static_cast<std::uint8_t>(plain ^ weighted);
    unsigned p0 = 0;
    while (multiply(static_cast<std::uint8_t>(p0), 3) != rhs)
        ++p0;
    return {static_cast<std::uint8_t>(p0), static_cast<std::uint8_t>(plain ^ p0)};
}

void storeEdc(Bytes& s, std::size_t from, std::size_t at) {
    const std::uint32_t value = edc(s.data() + from, at - from);
    for (std::size_t i = 0; i < 4; ++i)
        s[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes form1Codes(Bytes s) {
    storeEdc(s, 16, 2072);
    Bytes zero = withZeroHeader(s);
    for (std::size_t plane = 0; plane < 2; ++plane) {
        const auto word = [plane](std::size_t w) { return 12 + 2 * w + plane; };
        for (std::size_t column = 0; column < 43; ++column) {
            const auto p = parity(24, [&](std::size_t row) { return word(column + 43 * row); }, zero);
            zero[word(43 * 24 + column)] = p[0];
            zero[word(43 * 25 + column)] = p[1];
        }
    }
    for (std::size_t plane = 0; plane < 2; ++plane) {
        const auto word = [plane](std::size_t w) { return 12 + 2 * w + plane; };
        for (std::size_t diagonal = 0; diagonal < 26; ++diagonal) {
            const auto q = parity(
                43, [&](std::size_t step) { return word((44 * step + 43 * diagonal) % 1118); }, zero);
            zero[word(1118 + diagonal)] = q[0];
            zero[word(1118 + 26 + diagonal)] = q[1];
        }
    }
    std::copy(zero.begin() + 2076, zero.end(), s.begin() + 2076);
    return s;
}

} // namespace reference

Bytes randomSector(std::mt19937& random) {
    Bytes s{};
    for (auto& byte : s)
        byte = static_cast<std::uint8_t>(random());
    return s;
}

TEST(SectorCodesTest, CodesMatchTheSymbolAtATimeReferenceOnRandomSectors) {
    std::mt19937 random(2352);
    for (int round = 0; round < 200; ++round) {
        const Bytes noise = randomSector(random); // header, sync and old codes random too
        Bytes form1 = noise;
        writeForm1Codes(form1);
        ASSERT_EQ(form1, reference::form1Codes(noise)) << "round " << round;

        Bytes form2 = noise;
        writeForm2Edc(form2);
        Bytes expected = noise;
        reference::storeEdc(expected, 16, 2348);
        ASSERT_EQ(form2, expected) << "round " << round;
    }
}

TEST(SectorCodesTest, EdcMatchesTheBitwiseCrcAtEveryLengthAndAlignment) {
    std::mt19937 random(7);
    const Bytes noise = randomSector(random);
    for (std::size_t from : {0U, 1U, 3U, 7U}) {
        for (std::size_t size = 0; size <= 40; ++size)
            EXPECT_EQ(edc(std::span(noise).subspan(from, size)),
                      reference::edc(noise.data() + from, size))
                << from << "+" << size;
        EXPECT_EQ(edc(std::span(noise).subspan(from)),
                  reference::edc(noise.data() + from, noise.size() - from));
    }
}

TEST(SectorCodesTest, RandomForm1SectorsWithTheirCodesCheckAndAnyFlipIsCaught) {
    std::mt19937 random(11);
    for (int round = 0; round < 50; ++round) {
        Bytes s = randomSector(random);
        const Bytes header = mode2Sector(0x08);
        std::copy_n(header.begin(), 16, s.begin());
        s[18] = s[22] = 0x08;
        writeForm1Codes(s);
        ASSERT_TRUE(check(s).matches());
        const std::size_t at = 24 + random() % (kSectorSize - 24); // past the subheader
        s[at] ^= static_cast<std::uint8_t>(1U << (random() % 8));
        EXPECT_FALSE(check(s).matches()) << "byte " << at;
    }
}

TEST(SectorCodesTest, EdcOfBlankSectorsMatchesKnownValues) {
    Bytes form1 = mode2Sector(0x08);
    writeForm1Codes(form1);
    EXPECT_EQ((std::array<std::uint8_t, 4>{form1[2072], form1[2073], form1[2074], form1[2075]}),
              (std::array<std::uint8_t, 4>{0x0B, 0x88, 0x81, 0x94}));

    Bytes form2 = mode2Sector(0x20);
    writeForm2Edc(form2);
    EXPECT_EQ((std::array<std::uint8_t, 4>{form2[2348], form2[2349], form2[2350], form2[2351]}),
              (std::array<std::uint8_t, 4>{0x3F, 0x13, 0xB0, 0xBE}));
}

TEST(SectorCodesTest, EveryPAndQCodewordSatisfiesItsChecks) {
    for (unsigned seed : {1U, 2U, 3U}) {
        const Bytes s = withZeroHeader(noisyForm1Sector(seed));
        for (std::size_t plane = 0; plane < 2; ++plane) {
            const auto word = [plane](std::size_t w) { return 12 + 2 * w + plane; };
            for (std::size_t column = 0; column < 43; ++column) {
                EXPECT_TRUE(codewordHolds(26, [&](int i) { return word(column + 43 * static_cast<std::size_t>(i)); }, s))
                    << "P column " << column << " plane " << plane;
            }
            for (std::size_t diagonal = 0; diagonal < 26; ++diagonal) {
                const auto at = [&](int i) {
                    const auto step = static_cast<std::size_t>(i);
                    if (step < 43)
                        return word((44 * step + 43 * diagonal) % 1118);
                    return word(1118 + diagonal + 26 * (step - 43));
                };
                EXPECT_TRUE(codewordHolds(45, at, s)) << "Q diagonal " << diagonal << " plane " << plane;
            }
        }
    }
}

TEST(SectorCodesTest, CodesTouchOnlyTheTailAndIgnoreTheHeader) {
    Bytes a = noisyForm1Sector(7);
    Bytes b = a;
    b[12] = 0x74;
    b[13] = 0x59;
    b[14] = 0x74;
    const Bytes before = b;
    writeForm1Codes(b);
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + kDataEnd, before.begin()));
    EXPECT_TRUE(std::equal(a.begin() + kDataEnd, a.end(), b.begin() + kDataEnd));
}

TEST(SectorCodesTest, CheckNamesTheCodeThatNoLongerMatches) {
    struct Case {
        const char* what;
        std::size_t flip;
        bool edc;
        bool ecc;
    };
    const Case cases[] = {
        {"data byte", 100, false, false}, {"subheader", 17, false, false},
        {"EDC byte", 2073, false, true},  {"P byte", 2100, true, false},
        {"Q byte", 2300, true, false},    {"header (not covered)", 13, true, true},
    };
    for (const Case& c : cases) {
        Bytes s = noisyForm1Sector(11);
        s[c.flip] ^= 0x40;
        const Check result = check(s);
        EXPECT_EQ(result.edcMatches, c.edc) << c.what;
        EXPECT_EQ(result.eccMatches, c.ecc) << c.what;
    }
    EXPECT_TRUE(check(noisyForm1Sector(11)).matches());
}

TEST(SectorCodesTest, FormComesFromSyncModeAndSubmode) {
    EXPECT_EQ(formOf(mode2Sector(0x08)), Form::Form1);
    EXPECT_EQ(formOf(mode2Sector(0x20)), Form::Form2);
    Bytes mode1 = mode2Sector(0x08);
    mode1[15] = 1;
    EXPECT_EQ(formOf(mode1), Form::Other);
    Bytes flat{};
    EXPECT_EQ(formOf(flat), Form::Other);
    EXPECT_TRUE(check(flat).matches()); // nothing to check
}

TEST(SectorCodesTest, Form2EdcIsOptional) {
    Bytes s = mode2Sector(0x20);
    s[500] = 9;
    EXPECT_TRUE(check(s).matches()) << "zero EDC: none recorded";
    s[2348] = 1;
    EXPECT_FALSE(check(s).edcMatches);
    writeForm2Edc(s);
    EXPECT_TRUE(check(s).matches());
}

} // namespace
} // namespace starfall::sector
