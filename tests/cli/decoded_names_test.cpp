// An export decodes each name once; what it hands out must be what decoding
// the name alone gives, past the number of names it keeps, and only while it
// is open.

#include "cli/CliContext.h"
#include "cli/DecodedNames.h"
#include "core/codec/Cp949.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace starfall {
namespace {

TEST(DecodedNamesTest, GiveWhatDecodingAloneGives) {
    std::vector<std::string> names = {"\xBD\xBA\xC5\xB8 1", "", "\xFF\x80", "end\xB0", "plain"};
    for (std::size_t i = 0; i < cli::DecodedNames::kKept + 100; ++i)
        names.push_back("\xB0\xA1" + std::to_string(i));
    std::vector<std::string> alone;
    for (const std::string& name : names)
        alone.push_back(cp949::toUtf8(name));

    EXPECT_EQ(cli::DecodedNames::current(), nullptr);
    {
        const cli::DecodedNames outer;
        EXPECT_EQ(cli::DecodedNames::current(), &outer);
        for (int round = 0; round < 2; ++round) {
            for (std::size_t i = 0; i < names.size(); ++i)
                ASSERT_EQ(cli::nameJson(names[i]), alone[i]) << round << " " << i;
        }
        {
            const cli::DecodedNames inner;
            EXPECT_EQ(cli::DecodedNames::current(), &inner);
            EXPECT_EQ(cli::nameJson(names[0]), alone[0]);
        }
        EXPECT_EQ(cli::DecodedNames::current(), &outer);
    }
    EXPECT_EQ(cli::DecodedNames::current(), nullptr);
    EXPECT_EQ(cli::nameJson(names[0]), alone[0]);
}

} // namespace
} // namespace starfall
