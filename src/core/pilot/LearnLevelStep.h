#pragma once

// The step of the learn-level spin buttons on the pilot page and in the skill
// editor. It works on the text of the level, not on a spin position, and
// clamps only in the direction of the step.

#include <string>
#include <string_view>

namespace starfall {

enum class StepDirection { Up, Down };

// The level text through the decimal parse, one up (capped at 99) or one down
// (floored at 1), as decimal text. No clamp the other way: up turns "-5" into
// "-4", down turns "150" into "149".
[[nodiscard]] std::string stepLearnLevel(std::string_view levelText, StepDirection direction);

} // namespace starfall
