#pragma once

// The one place that opens an image. A load opens the existing file read-only
// and a save opens it for update, never creating or truncating it; each call
// opens, does all its work and closes again, so nothing is held or cached.

#include "image/Position.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

struct ByteWrite {
    Position position = 0;
    std::uint8_t value = 0;
    bool operator==(const ByteWrite&) const = default;
};

// Consecutive bytes from `start`: how a patch hands over what it changes.
struct ByteRun {
    Position start = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const ByteRun&) const = default;
};

// Checks a whole plan before any byte is touched; throws
// CoreError(PositionOutOfRange) naming the first bad position.
void checkPositions(std::span<const Position> positions, const std::string& path);

// The bytes at `positions`, in order: 0-255, or kEndOfFile past the end.
// Throws CoreError(ImageOpenForLoad) when the image cannot be opened.
[[nodiscard]] std::vector<int> readBytes(const std::string& path,
                                         std::span<const Position> positions);

// Writes every byte of the plan, runs of adjacent positions together, then
// flushes the data to the disk and closes. Throws CoreError(ImageOpenForSave)
// when the image cannot be opened for update, CoreError(SectorFraming) when a
// position of a raw image lies in sector framing (`record` names what was being
// saved), and CoreError(WriteFailed) when a write, the flush or the close fails.
void writeBytes(const std::string& path, std::span<const ByteWrite> plan,
                std::string_view record = {});

// Writes a plan without the framing check: only for rewriting a sector's own
// error codes, which live in its tail. Fails as writeBytes does otherwise.
void writeFramingBytes(const std::string& path, std::span<const ByteWrite> plan);

// Writes every run as one save, as writeBytes does. `framing` Allow lets the
// runs cover sector heads and tails too (a patch carries whole sectors' codes).
enum class FramingRule { Refuse, Allow };
void writeRuns(const std::string& path, std::span<const ByteRun> runs, std::string_view record,
               FramingRule framing = FramingRule::Refuse);

// Up to `count` bytes from `start`; fewer when the image ends first.
[[nodiscard]] std::vector<std::uint8_t> readRange(const std::string& path, Position start,
                                                  std::size_t count);

// Pairs planned positions with encoded values, in field order.
[[nodiscard]] std::vector<ByteWrite> zipPlan(std::span<const Position> positions,
                                             std::span<const std::uint8_t> values);

} // namespace starfall
