#pragma once

// Makes a patch from two images of the same size: the base as it was and the
// modded image. The images are only read.

#include "core/io/Position.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace starfall::patch {

enum class PatchKind { Ppf, Bps };

struct MakeOptions {
    PatchKind kind = PatchKind::Ppf;
    std::string description;        // PPF: at most 50 bytes; BPS: the metadata
    std::optional<std::string> diz; // PPF only, at most 3072 bytes
    bool keepStaleCodes = false;
};

// The patch file's bytes. Throws CoreError: ImageSizesDiffer, StaleSectorCodes
// (naming the changed sectors of `modded` whose EDC/ECC do not match, unless
// keepStaleCodes; ChangedSectorCodes where only those codes changed),
// ImagesIdentical, PatchTooLarge.
[[nodiscard]] std::vector<std::uint8_t>
makePatch(const std::string& base, const std::string& modded, const MakeOptions& options);

// Throws CoreError(PatchTooLarge) naming `image` for a patch file over the limit.
void checkPatchSize(const std::vector<std::uint8_t>& patch, const std::string& image);

// Sectors as "3, 7-9".
[[nodiscard]] std::string describeSectors(const std::vector<std::int64_t>& sectors);

} // namespace starfall::patch
