#pragma once

// The manual page and the bash completion of starfall-cli, both written from
// the parser the program itself runs: its help texts, verbs and options.

#include <string>

namespace starfall::cli {

// man(7) source of starfall-cli(1): each help text the program prints, in order.
[[nodiscard]] std::string manualPage();

// A bash completion script for the verbs, their sub-verbs and their options.
[[nodiscard]] std::string bashCompletion();

} // namespace starfall::cli
