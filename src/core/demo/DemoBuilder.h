#pragma once

// make-demo: a demo image of our own invention with the list files and the
// weapon names that point into it.

#include <string>
#include <vector>

namespace starfall::demo {

inline constexpr const char* kDemoImageName = "demo.img";

enum class Overwrite { Refuse, Replace };

// The four files writeDemo writes into `directory`: image, both lists, weapon names.
[[nodiscard]] std::vector<std::string> demoFiles(const std::string& directory);

// Writes demo.img, charlist.ini, unitlist.ini and weapon.ini into `directory`
// (which must exist). Unless told to replace them, refuses (std::runtime_error,
// nothing written) when any of them exists. A failure part-way removes the
// files this call created.
void writeDemo(const std::string& directory, Overwrite overwrite = Overwrite::Refuse);

} // namespace starfall::demo
