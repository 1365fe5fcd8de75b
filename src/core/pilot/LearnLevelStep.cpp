#include "core/pilot/LearnLevelStep.h"

#include "core/codec/TextNumbers.h"

#include <algorithm>
#include <cstdint>

namespace starfall {

namespace {

constexpr std::int64_t kHighestStep = 99;
constexpr std::int64_t kLowestStep = 1;

} // namespace

std::string stepLearnLevel(std::string_view levelText, StepDirection direction) {
    // 64 bits, so that a parse clamped to the 32-bit range cannot overflow.
    const std::int64_t value = parseDecimal(levelText);
    const std::int64_t stepped = direction == StepDirection::Up ? std::min(value + 1, kHighestStep)
                                                                : std::max(value - 1, kLowestStep);
    return std::to_string(stepped);
}

} // namespace starfall
