#pragma once

// A patch from the history of saves instead of a copy of the original image:
// the bytes as they were come from the entries, the bytes as they are from
// the image.

#include "core/io/SaveHistory.h"
#include "core/patch/ByteChanges.h"
#include "core/patch/PatchMake.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace starfall::history {

// What the saves from entry `since` on (from 1) changed, net: each position
// any of them wrote, as the earliest of them found it and as the image holds
// it now; positions that are back as they were drop out. Sector code bytes
// are included, so the patch carries valid codes.
[[nodiscard]] patch::ByteChanges changesSince(const std::string& imagePath,
                                              const std::vector<HistoryEntry>& entries,
                                              std::uint32_t since);

// A PPF 3.0 patch of `changes` to the image, with undo data, whose block
// check is taken from the image as it was before them. Throws
// CoreError(ImagesIdentical) for no changes, PatchTooLarge.
[[nodiscard]] std::vector<std::uint8_t> makePpf(const std::string& imagePath,
                                                const patch::ByteChanges& changes,
                                                const patch::MakeOptions& options);

// The image's bytes from `start`, with what `changes` says was there before.
[[nodiscard]] std::vector<std::uint8_t> bytesBefore(const std::string& imagePath,
                                                    const patch::ByteChanges& changes,
                                                    Position start, std::size_t count);

} // namespace starfall::history
