#pragma once

// The one place that reads and writes an image. A load opens the existing
// regular file read-only; a save goes through the journaled save (ImageSave.h),
// never creating, truncating or growing the file. Each call opens, does all
// its work and closes again, so nothing is held or cached. Every call first
// rolls back a save that a dead process left unfinished.

#include "core/io/ImageSave.h"
#include "core/io/Position.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

// One byte of a save. Only the bits of `mask` are written; the others keep
// what the image holds at the time of the save.
struct ByteWrite {
    Position position = 0;
    std::uint8_t value = 0;
    std::uint8_t mask = 0xFF;
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
// The same into `bytes`, which takes the positions' count: a command that
// reads record after record keeps one buffer for them all.
void readBytes(const std::string& path, std::span<const Position> positions,
               std::vector<int>& bytes);

// Writes the plan as one save (see saveRuns): all of it or, on any failure,
// none of it. `record` names what is being saved in the refusals. Returns
// what the save did to the sectors' codes.
SaveReport writeBytes(const std::string& path, std::span<const ByteWrite> plan,
                      std::string_view record = {}, FramingRule framing = FramingRule::Refuse,
                      CodeRule codes = CodeRule::Refresh, const HistoryNote& note = {});

// Writes every run as one save, as writeBytes does.
SaveReport writeRuns(const std::string& path, std::span<const ByteRun> runs,
                     std::string_view record, FramingRule framing = FramingRule::Refuse,
                     CodeRule codes = CodeRule::Refresh, const HistoryNote& note = {});

// Reads an open image from `at` until `buffer` is full or the file ends;
// returns the bytes read. Throws CoreError(ImageOpenForLoad) naming `path`.
[[nodiscard]] std::size_t readImageAt(int fd, Position at, std::span<std::uint8_t> buffer,
                                      const std::string& path);

// Up to `count` bytes from `start`; fewer when the image ends first.
[[nodiscard]] std::vector<std::uint8_t> readRange(const std::string& path, Position start,
                                                  std::size_t count);

// How a scope reads: each read as asked, or whole blocks kept for the reads
// after it. Blocks suit a command that reads many small records lying close
// together and writes nothing while the scope lives (export, diff, a patch's
// report, and import until its save): a table's records then cost one read
// per block instead of one each.
enum class ScopeReads { AsAsked, Blocks };

// Keeps one image open for reading while it lives, so that a command that
// reads many records (an export, a diff) opens it once: readBytes and
// readRange of the same path use its handle. For one thread; scopes nest.
class ImageReadScope {
public:
    explicit ImageReadScope(std::string path, ScopeReads reads = ScopeReads::AsAsked);
    ImageReadScope(const ImageReadScope&) = delete;
    ImageReadScope& operator=(const ImageReadScope&) = delete;
    ~ImageReadScope();

    // The open handle for `path` of the innermost scope that holds it, or -1.
    [[nodiscard]] static int handleFor(const std::string& path);
    // The innermost scope that holds `path`, or none.
    [[nodiscard]] static ImageReadScope* scopeFor(const std::string& path);
    // This scope's open handle.
    [[nodiscard]] int handle() const { return m_fd; }

    // The bytes of one block of a scope that reads blocks: a few sectors.
    // Each fresh page a read lands in costs a fault, so a block is about as
    // large as a table's neighbouring records need; a command's records lie
    // in a few runs of sectors, and larger blocks read pages nothing asks for.
    static constexpr std::size_t kBlockBytes = 4 * 2352;

    // Reads from `at` until `buffer` is full or the file ends, as readImageAt
    // does, through the scope's blocks when it keeps them.
    [[nodiscard]] std::size_t read(Position at, std::span<std::uint8_t> buffer);

private:
    struct Block {
        std::int64_t number = -1;
        // Not cleared before the read fills it: only the `size` bytes the
        // read wrote are ever copied out.
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t size = 0; // less than a block at the end of the file
    };
    std::size_t readThroughBlocks(Position at, std::span<std::uint8_t> buffer);
    const Block& block(std::int64_t number);

    std::string m_path;
    int m_fd = -1;
    ScopeReads m_reads;
    std::vector<Block> m_blocks; // the most recently read last
    ImageReadScope* m_outer = nullptr;
};

} // namespace starfall
