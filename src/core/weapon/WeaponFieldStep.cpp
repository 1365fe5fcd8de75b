#include "core/weapon/WeaponFieldStep.h"

#include "core/codec/TextNumbers.h"

#include <algorithm>
#include <cstdint>

namespace starfall {

namespace {

// The hit step reads no more of the field than this.
constexpr std::size_t kHitStepChars = 9;

// 64 bits, so that a parse clamped to the 32-bit range cannot overflow.
std::string step(std::string_view text, StepDirection direction, std::int64_t size,
                 std::int64_t lowest, std::int64_t highest) {
    const std::int64_t value = parseDecimal(text);
    const std::int64_t stepped = direction == StepDirection::Up ? std::min(value + size, highest)
                                                                : std::max(value - size, lowest);
    return std::to_string(stepped);
}

} // namespace

std::string stepWeaponHit(std::string_view hitText, StepDirection direction) {
    return step(hitText.substr(0, kHitStepChars), direction, kWeaponHitStep, -kWeaponHitLimit,
                kWeaponHitLimit);
}

std::string stepWeaponRange(std::string_view rangeText, StepDirection direction) {
    return step(rangeText, direction, 1, 1, kWeaponRangeLimit);
}

} // namespace starfall
