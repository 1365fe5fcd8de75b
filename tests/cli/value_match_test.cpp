// import tells whether a value is the field's as read without building the
// field's JSON value: the answer must be nlohmann's == on the built value for
// every kind of field and every kind of JSON value, down to its odd cases
// (1.0 equals 1, an unsigned integer past 63 bits equals its signed bits).

#include "cli/ValueMatch.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace starfall {
namespace {

using nlohmann::json;

const json kValues[] = {
    3800,    3800U,   3800.0, 3801,  -1,  std::uint64_t(-1), 0,    "3800", true, nullptr,
    "A",     "B",     "a",    1,     1U,  1.0,               7,    7U,     7.0,  2,
    json::array(), json::object(), -2147483648LL, 2147483647,
};

TEST(ValueMatch, AnswersAsTheBuiltValueCompares) {
    static constexpr std::array<std::string_view, 3> kItems = {"A", "B", "--"};
    static constexpr std::array<int, 3> kCodes = {1, 2, 0};
    const cli::FieldShape number{"hp", FieldKind::Number, kWordRange, {}, {}, 0};
    const cli::FieldShape choice{"air", FieldKind::Choice, {}, kItems, kCodes, 15};

    const char* texts[] = {"3800", "-1", "0", "", " 12", "99999999999", "x"};
    for (const char* text : texts) {
        for (const bool loaded : {true, false}) {
            for (const json& value : kValues) {
                EXPECT_EQ(cli::valueJsonEquals(number, std::string(text), std::nullopt, loaded,
                                               value),
                          cli::valueJson(number, std::string(text), std::nullopt, loaded) == value)
                    << "'" << text << "' " << value.dump();
            }
        }
    }

    const ListChoice choices[] = {ListChoice::item(0), ListChoice::item(1),
                                  ListChoice::unlisted(7), ListChoice::none()};
    const std::optional<int> codes[] = {1, 2, 7, 0, std::nullopt};
    for (const ListChoice& held : choices) {
        for (const std::optional<int> code : codes) {
            for (const bool loaded : {true, false}) {
                for (const json& value : kValues) {
                    EXPECT_EQ(cli::valueJsonEquals(choice, held, code, loaded, value),
                              cli::valueJson(choice, held, code, loaded) == value)
                        << (code ? *code : -100) << " " << loaded << " " << value.dump();
                }
            }
        }
    }
}

} // namespace
} // namespace starfall
