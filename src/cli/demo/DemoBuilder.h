#pragma once

// make-demo: a demo image of our own invention with the list files and the
// weapon names that point into it.

#include <string>

namespace starfall::demo {

inline constexpr const char* kDemoImageName = "demo.img";

// Writes demo.img, charlist.ini, unitlist.ini and weapon.ini into `directory`
// (which must exist), replacing files of those names.
void writeDemo(const std::string& directory);

} // namespace starfall::demo
