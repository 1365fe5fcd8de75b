#include "core/codec/Cp949.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace starfall {
namespace {

TEST(Cp949, UsesTheWindowsTableNotIbms) {
    // 8C 63 is a Hangul syllable only in Unified Hangul Code.
    EXPECT_EQ(cp949::toUtf8("\x8C\x63"), "똠");
    EXPECT_EQ(cp949::fromUtf8("단쿠가"), "\xB4\xDC\xC4\xED\xB0\xA1");
    EXPECT_EQ(cp949::toUtf8(cp949::fromUtf8("주인공 특기(리얼)")), "주인공 특기(리얼)");
}

TEST(Cp949, InvalidBytesDecodeWithoutLoss) {
    const std::string decoded = cp949::toUtf8("A\xFF"
                                              "B\x81");
    EXPECT_EQ(decoded.front(), 'A');
    EXPECT_NE(decoded.find('B'), std::string::npos);
    EXPECT_EQ(cp949::toUtf8(""), "");
}

TEST(Cp949, DecodingManyAtOnceMatchesDecodingEachAlone) {
    // Every one and two-byte text, so that each lead byte cut off at a text's
    // end meets the next text's start; then empty texts and line feeds.
    std::vector<std::string> texts;
    for (int a = 0; a < 256; ++a) {
        texts.emplace_back(1, static_cast<char>(a));
        for (int b = 0; b < 256; ++b)
            texts.push_back({static_cast<char>(a), static_cast<char>(b)});
    }
    texts.insert(texts.end(), {"", "\xB0\n\xA1", "\n", "", cp949::fromUtf8("스타폴 1호기")});
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    const std::vector<std::string> together = cp949::toUtf8Each(views);
    ASSERT_EQ(together.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(together[i], cp949::toUtf8(texts[i])) << "text #" << i;
    EXPECT_TRUE(cp949::toUtf8Each({}).empty());
}

TEST(Cp949, DecodingIntoOneBufferMatchesDecodingEachAloneAndForgetsTheLastBatch) {
    std::vector<std::string> texts;
    for (int a = 0; a < 256; ++a) {
        texts.emplace_back(1, static_cast<char>(a));
        for (int b = 0; b < 256; b += 3)
            texts.push_back({static_cast<char>(a), static_cast<char>(b)});
    }
    texts.insert(texts.end(), {"\xB0\n\xA1", "", "\n\n", "\xB0", cp949::fromUtf8("스타폴 1호기")});
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    cp949::Utf8Texts decoded;
    cp949::toUtf8Into(views, decoded);
    ASSERT_EQ(decoded.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(decoded[i], cp949::toUtf8(texts[i])) << "text #" << i;
    // A smaller batch into the same buffer holds only its own texts.
    const std::vector<std::string_view> next = {"\xA1\n", "\xB0\xA1"};
    cp949::toUtf8Into(next, decoded);
    ASSERT_EQ(decoded.size(), 2U);
    EXPECT_EQ(decoded[0], cp949::toUtf8("\xA1\n"));
    EXPECT_EQ(decoded[1], "가");
    cp949::toUtf8Into({}, decoded);
    EXPECT_EQ(decoded.size(), 0U);
}

TEST(Cp949, SearchMatchesOnlyOnCharacterBoundaries) {
    // "가" is B0 A1 and "각" is B0 A2; their bytes A1 B0 form no character here.
    const std::string haystack = cp949::fromUtf8("가가");
    EXPECT_TRUE(cp949::containsOnBoundary(haystack, cp949::fromUtf8("가")));
    EXPECT_FALSE(cp949::containsOnBoundary(haystack, "\xA1\xB0"));
    EXPECT_TRUE(cp949::containsOnBoundary(cp949::fromUtf8("건담 Mk2"), "Mk"));
    EXPECT_FALSE(cp949::containsOnBoundary("abc", "abcd"));
    EXPECT_TRUE(cp949::containsOnBoundary("abc", ""));
    EXPECT_TRUE(cp949::containsOnBoundary("", ""));
    // A lead byte without a valid trail is a single character.
    EXPECT_TRUE(cp949::containsOnBoundary("\xB0"
                                          "0",
                                          "0"));
    EXPECT_FALSE(cp949::containsOnBoundary("\xB0"
                                           "A",
                                           "A")); // B0 41 is one character
}

} // namespace
} // namespace starfall
