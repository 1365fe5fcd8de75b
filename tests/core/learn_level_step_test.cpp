#include "core/pilot/LearnLevelStep.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

TEST(LearnLevelStep, ClampsOnlyInTheDirectionOfTheStep) {
    struct Row {
        const char* text;
        StepDirection direction;
        const char* expected;
    };
    constexpr auto Up = StepDirection::Up;
    constexpr auto Down = StepDirection::Down;
    const Row rows[] = {
        {"98", Up, "99"},
        {"99", Up, "99"},
        {"120", Up, "99"},
        {"-5", Up, "-4"},
        {"", Up, "1"},
        {"-1", Up, "0"},
        {"2", Down, "1"},
        {"1", Down, "1"},
        {"0", Down, "1"},
        {"", Down, "1"},
        {"150", Down, "149"},
        {"-7", Down, "1"},
        {" 12abc", Up, "13"},
        {"2147483647", Up, "99"},
        {"-2147483648", Down, "1"},
        {"99999999999", Down, "2147483646"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(stepLearnLevel(row.text, row.direction), row.expected)
            << '"' << row.text << '"' << (row.direction == Up ? " up" : " down");
}

} // namespace
} // namespace starfall
