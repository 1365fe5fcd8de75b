#pragma once

// A VCDIFF (xdelta) patch as read from its file: what its header and window
// headers say. The windows themselves are decoded by the xdelta3 program
// (VcdiffDecoder), never here; this only checks that the file holds whole
// windows and adds up the target they build.

#include "core/io/Position.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace starfall::patch {

inline constexpr std::uint8_t kVcdiffMagic[] = {0xD6, 0xC3, 0xC4, 0x00};

struct VcdiffPatch {
    std::string path;
    std::string appHeader;                 // xdelta3 keeps the file names there
    std::optional<std::uint8_t> secondary; // the secondary compressor's id
    std::size_t windows = 0;
    Position targetSize = 0;
    bool checksums = false; // every window carries the Adler-32 of what it builds
};

// Reads a file that starts with the VCDIFF magic. Throws
// CoreError(PatchDamaged) for a truncated header or window, a bad number, a
// window whose sections do not add up to its length, and a target past 2 GiB.
[[nodiscard]] VcdiffPatch readVcdiff(std::span<const std::uint8_t> file, const std::string& path);

} // namespace starfall::patch
