#pragma once

// The steps of the weapon editor's spin controls. Like the learn-level step
// they work on the field's text, not on a spin position, and clamp only in
// the direction of the step.

#include "core/pilot/LearnLevelStep.h"

#include <string>
#include <string_view>

namespace starfall {

inline constexpr int kWeaponHitStep = 5;
inline constexpr int kWeaponHitLimit = 50;   // up to 50, down to -50
inline constexpr int kWeaponRangeLimit = 50; // up to 50, down to 1

// The first nine characters of the hit text through the decimal parse, five
// up (capped at 50) or five down (floored at -50), as decimal text.
[[nodiscard]] std::string stepWeaponHit(std::string_view hitText, StepDirection direction);

// A range text through the decimal parse, one up (capped at 50) or one down
// (floored at 1), as decimal text.
[[nodiscard]] std::string stepWeaponRange(std::string_view rangeText, StepDirection direction);

} // namespace starfall
