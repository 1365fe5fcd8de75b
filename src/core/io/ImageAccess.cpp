#include "core/io/ImageAccess.h"

#include "core/codec/ByteCodec.h"
#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace starfall {

namespace {

// Length of the run of consecutive positions starting at index i.
template <typename Get> std::size_t runLength(std::size_t i, std::size_t size, Get position) {
    std::size_t n = 1;
    while (i + n < size && position(i + n) == position(i) + static_cast<Position>(n))
        ++n;
    return n;
}

// The blocks kept bound the memory whatever the image's size, and cover a
// thousand sectors: the tables a command walks through in list order.
constexpr std::size_t kKeptBlocks = 256;

// The image open for a load: a scope's handle, or one of its own.
struct LoadHandle {
    FileHandle own;
    int fd = -1;
    ImageReadScope* scope = nullptr;

    [[nodiscard]] std::size_t read(Position at, std::span<std::uint8_t> buffer,
                                   const std::string& path) const {
        return scope != nullptr ? scope->read(at, buffer) : readImageAt(fd, at, buffer, path);
    }
};

void readRun(const LoadHandle& file, Position start, std::span<int> out, const std::string& path) {
    // A record's runs are short: most fit on the stack, without an allocation each.
    std::array<unsigned char, 256> small;
    std::vector<unsigned char> large(out.size() > small.size() ? out.size() : 0);
    const std::span<unsigned char> buffer =
        large.empty() ? std::span<unsigned char>(small).first(out.size()) : large;
    const std::size_t got = file.read(start, buffer, path);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = i < got ? buffer[i] : kEndOfFile; // past the end stays kEndOfFile
}

ImageReadScope*& innermostScope() {
    static ImageReadScope* scope = nullptr;
    return scope;
}

LoadHandle openForLoad(const std::string& path) {
    if (ImageReadScope* scope = ImageReadScope::scopeFor(path); scope != nullptr)
        return {FileHandle(), scope->handle(), scope};
    recoverInterruptedSave(path);
    FileHandle file(path, O_RDONLY);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, path);
    const int fd = file.fd();
    return {std::move(file), fd, nullptr};
}

} // namespace

std::size_t readImageAt(int fd, Position at, std::span<std::uint8_t> buffer,
                        const std::string& path) {
    const std::int64_t got = readAt(fd, at, buffer);
    if (got < 0)
        throw CoreError(Failure::ImageOpenForLoad, path, at, std::strerror(static_cast<int>(-got)));
    return static_cast<std::size_t>(got);
}

void checkPositions(std::span<const Position> positions, const std::string& path) {
    for (Position p : positions) {
        if (!isAddressable(p))
            throw CoreError(Failure::PositionOutOfRange, path, p);
    }
}

std::vector<int> readBytes(const std::string& path, std::span<const Position> positions) {
    std::vector<int> bytes;
    readBytes(path, positions, bytes);
    return bytes;
}

void readBytes(const std::string& path, std::span<const Position> positions,
               std::vector<int>& bytes) {
    checkPositions(positions, path);
    const LoadHandle file = openForLoad(path);
    bytes.resize(positions.size()); // every byte is set by the run that reads it
    for (std::size_t i = 0; i < positions.size();) {
        const std::size_t n =
            runLength(i, positions.size(), [&](std::size_t k) { return positions[k]; });
        readRun(file, positions[i], std::span<int>(bytes).subspan(i, n), path);
        i += n;
    }
}

SaveReport writeBytes(const std::string& path, std::span<const ByteWrite> plan,
                      std::string_view record, FramingRule framing, CodeRule codes,
                      const HistoryNote& note) {
    std::vector<PlannedRun> runs;
    for (std::size_t i = 0; i < plan.size();) {
        const std::size_t n =
            runLength(i, plan.size(), [&](std::size_t k) { return plan[k].position; });
        PlannedRun& run = runs.emplace_back(PlannedRun{plan[i].position, {}, {}});
        for (std::size_t k = i; k < i + n; ++k) {
            run.values.push_back(plan[k].value);
            run.masks.push_back(plan[k].mask);
        }
        i += n;
    }
    return saveRuns(path, std::move(runs), record, framing, codes, note);
}

SaveReport writeRuns(const std::string& path, std::span<const ByteRun> runs,
                     std::string_view record, FramingRule framing, CodeRule codes,
                     const HistoryNote& note) {
    std::vector<PlannedRun> planned;
    planned.reserve(runs.size());
    for (const ByteRun& run : runs)
        planned.push_back({run.start, run.bytes, {}});
    return saveRuns(path, std::move(planned), record, framing, codes, note);
}

std::vector<std::uint8_t> readRange(const std::string& path, Position start, std::size_t count) {
    const Position end = start + static_cast<Position>(count);
    checkPositions(std::array<Position, 1>{start}, path);
    if (count > 0)
        checkPositions(std::array<Position, 1>{end - 1}, path);
    const LoadHandle file = openForLoad(path);
    std::vector<std::uint8_t> out(count);
    out.resize(file.read(start, out, path));
    return out;
}

ImageReadScope::ImageReadScope(std::string path, ScopeReads reads)
    : m_path(std::move(path)), m_reads(reads), m_outer(innermostScope()) {
    recoverInterruptedSave(m_path);
    m_fd = FileHandle(m_path, O_RDONLY).release();
    innermostScope() = this;
}

ImageReadScope::~ImageReadScope() {
    innermostScope() = m_outer;
    if (m_fd >= 0)
        ::close(m_fd);
}

int ImageReadScope::handleFor(const std::string& path) {
    const ImageReadScope* scope = scopeFor(path);
    return scope != nullptr ? scope->handle() : -1;
}

ImageReadScope* ImageReadScope::scopeFor(const std::string& path) {
    for (ImageReadScope* scope = innermostScope(); scope != nullptr; scope = scope->m_outer) {
        if (scope->m_path == path)
            return scope;
    }
    return nullptr;
}

std::size_t ImageReadScope::read(Position at, std::span<std::uint8_t> buffer) {
    if (m_reads == ScopeReads::AsAsked || at < 0)
        return readImageAt(m_fd, at, buffer, m_path);
    try {
        return readThroughBlocks(at, buffer);
    } catch (const CoreError&) {
        // Read as asked, so that the failure names the position asked for.
        return readImageAt(m_fd, at, buffer, m_path);
    }
}

std::size_t ImageReadScope::readThroughBlocks(Position at, std::span<std::uint8_t> buffer) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const Position from = at + static_cast<Position>(got);
        const Block& held = block(from / static_cast<Position>(kBlockBytes));
        const auto offset = static_cast<std::size_t>(from % static_cast<Position>(kBlockBytes));
        if (offset >= held.size)
            break; // the file ends
        const std::size_t n = std::min(held.size - offset, buffer.size() - got);
        std::copy_n(held.bytes.get() + offset, n,
                    buffer.begin() + static_cast<std::ptrdiff_t>(got));
        got += n;
        if (held.size < kBlockBytes && offset + n == held.size)
            break;
    }
    return got;
}

const ImageReadScope::Block& ImageReadScope::block(std::int64_t number) {
    // Reads cluster: the block asked for is most often the one last used.
    const auto kept = std::find_if(m_blocks.rbegin(), m_blocks.rend(),
                                   [number](const Block& b) { return b.number == number; });
    if (kept != m_blocks.rend()) {
        const auto at = std::prev(kept.base());
        std::rotate(at, std::next(at), m_blocks.end());
        return m_blocks.back();
    }
    std::unique_ptr<std::uint8_t[]> bytes;
    if (m_blocks.size() == kKeptBlocks) { // the least recently used gives way, and its memory
        bytes = std::move(m_blocks.front().bytes);
        m_blocks.erase(m_blocks.begin());
    } else {
        bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kBlockBytes);
    }
    const std::size_t size = readImageAt(m_fd, number * static_cast<Position>(kBlockBytes),
                                         {bytes.get(), kBlockBytes}, m_path);
    return m_blocks.emplace_back(Block{number, std::move(bytes), size});
}

} // namespace starfall
