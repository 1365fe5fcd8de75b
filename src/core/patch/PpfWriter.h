#pragma once

#include "core/patch/ByteChanges.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace starfall::patch {

struct PpfOptions {
    std::string description;                             // at most 50 bytes
    std::optional<std::vector<std::uint8_t>> blockCheck; // 1024 bytes of the base image
    bool undo = true;
    std::optional<std::string> diz; // at most 3072 bytes
};

// A PPF 3.0 patch of a BIN image: one record per 255 bytes of each changed
// run, with the replaced bytes as undo data when asked. Throws
// std::invalid_argument for a description or FILE_ID.DIZ over its size.
[[nodiscard]] std::vector<std::uint8_t> writePpf3(const PpfOptions& options,
                                                  const ByteChanges& changes);

} // namespace starfall::patch
