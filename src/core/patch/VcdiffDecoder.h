#pragma once

// Decodes a VCDIFF patch with the xdelta3 program: it runs with the image as
// its source and writes the target to a pipe, which is handed on in order,
// chunk by chunk, so that the target is never held whole.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace starfall::patch {

inline constexpr const char* kVcdiffDecoder = "xdelta3";

using DecodedChunk = std::function<void(std::span<const std::uint8_t>)>;

// Throws CoreError: PatchDecoderMissing when xdelta3 cannot be started,
// PatchWrongImage when it finds a window's checksum wrong (the image is not
// the patch's source), PatchDamaged for any other failure, with xdelta3's
// own words. Whatever `sink` throws stops xdelta3 and passes on.
void decodeVcdiff(const std::string& image, const std::string& patch, const DecodedChunk& sink);

} // namespace starfall::patch
