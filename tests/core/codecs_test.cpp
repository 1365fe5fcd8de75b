#include "core/codec/ByteCodec.h"
#include "core/codec/TextNumbers.h"
#include "core/codec/WordCodec.h"
#include "core/record/FieldTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace starfall {
namespace {

TEST(HexTextValue, ReadsEveryCharacterAsAHexDigitOrZero) {
    const struct {
        const char* text;
        std::uint32_t value;
    } rows[] = {{"1f", 31}, {"0a0b", 2571}, {"1g", 16}, {"", 0}, {"FF", 255}, {"c1", 0xC1}, {"zz", 0}};
    for (const auto& row : rows)
        EXPECT_EQ(hexTextValue(row.text), row.value) << row.text;
}

TEST(DecimalParse, FollowsTheCLibraryRule) {
    const struct {
        const char* text;
        std::int32_t value;
    } rows[] = {
        {"12ab", 12},      {"", 0},           {"x", 0},          {"  42", 42},
        {"\t\n-7", -7},    {"+5", 5},         {"- 5", 0},        {"--5", 0},
        {"1234\n", 1234},  {"0x1F", 0},       {"007", 7},        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
        {"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& row : rows)
        EXPECT_EQ(parseDecimal(row.text), row.value) << '"' << row.text << '"';
}

TEST(ByteCodec, RoundTripsEveryByteValue) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(ByteCodec::encode(ByteCodec::decode(b)), b);
    EXPECT_EQ(ByteCodec::decode(kEndOfFile), "-1");
}

TEST(ByteCodec, CutsToTheLowEightBits) {
    EXPECT_EQ(ByteCodec::encode("300"), 0x2C);
    EXPECT_EQ(ByteCodec::encode("256"), 0x00);
    EXPECT_EQ(ByteCodec::encode("-1"), 0xFF);
    EXPECT_EQ(ByteCodec::encode("abc"), 0x00);
    EXPECT_EQ(ByteCodec::encode("99999999999"), 0xFF); // clamped to 2^31 - 1 first
}

TEST(WordCodec, ReadsLowByteFirst) {
    EXPECT_EQ(WordCodec::decode(0x34, 0x12), "4660");
    EXPECT_EQ(WordCodec::decode(0xFF, 0xFF), "65535");
    EXPECT_EQ(WordCodec::decode(kEndOfFile, 0x01), "511");
    EXPECT_EQ(WordCodec::decode(kEndOfFile, kEndOfFile), "65535");
}

TEST(WordCodec, WritesLowSixteenBits) {
    using Bytes = std::array<std::uint8_t, 2>;
    EXPECT_EQ(WordCodec::encode("4660"), (Bytes{0x34, 0x12}));
    EXPECT_EQ(WordCodec::encode("65535"), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(WordCodec::encode("0"), (Bytes{0x00, 0x00}));
    EXPECT_EQ(WordCodec::encode(""), (Bytes{0x00, 0x00}));
    EXPECT_EQ(WordCodec::encode("65536"), (Bytes{0x00, 0x00}));
    EXPECT_EQ(WordCodec::encode("70000"), (Bytes{0x70, 0x11}));
    EXPECT_EQ(WordCodec::encode("-1"), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(WordCodec::encode("-2"), (Bytes{0xFE, 0xFF}));
}

TEST(WordCodec, RoundTripsEveryValue) {
    for (int v = 0; v < 65536; v += 257) {
        const auto bytes = WordCodec::encode(std::to_string(v));
        EXPECT_EQ(WordCodec::value(bytes[0], bytes[1]), v);
    }
}

} // namespace
// Lists share their kept codes only when the codes are the same, in the
// same order; each list's codec writes its own codes back.
TEST(ListCodes, AreSharedOnlyWhenEqual) {
    const KeptCodes ascending({0, 1, 2});
    EXPECT_EQ(&KeptCodes({0, 1, 2}).codes(), &ascending.codes());
    for (const std::vector<int>& other : {std::vector<int>{0, 1}, std::vector<int>{0, 1, 2, 3},
                                          std::vector<int>{2, 1, 0}, std::vector<int>{}}) {
        const KeptCodes kept(other);
        EXPECT_NE(&kept.codes(), &ascending.codes());
        EXPECT_EQ(kept.codes(), other);
    }
    const FieldCodec forward = choiceCodec(ascending);
    const FieldCodec backward = choiceCodec({2, 1, 0});
    EXPECT_EQ(forward.encode(ListChoice::item(0)), 0);
    EXPECT_EQ(backward.encode(ListChoice::item(0)), 2);
    EXPECT_EQ(backward.decode({1, false}), FieldValue(ListChoice::item(1)));
    EXPECT_EQ(backward.decode({7, false}), FieldValue(ListChoice::unlisted(7)));
    EXPECT_FALSE(forward.encode(ListChoice::item(3)));
}

} // namespace starfall
