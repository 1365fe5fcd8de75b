#include "core/io/ImageAccess.h"

#include "core/codec/ByteCodec.h"
#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"

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

void readRun(int fd, Position start, std::span<int> out, const std::string& path) {
    std::vector<unsigned char> buffer(out.size());
    const std::size_t got = readImageAt(fd, start, buffer, path);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = i < got ? buffer[i] : kEndOfFile; // past the end stays kEndOfFile
}

ImageReadScope*& innermostScope() {
    static ImageReadScope* scope = nullptr;
    return scope;
}

// The image open for a load: a scope's handle, or one of its own.
struct LoadHandle {
    FileHandle own;
    int fd = -1;
};

LoadHandle openForLoad(const std::string& path) {
    if (const int scoped = ImageReadScope::handleFor(path); scoped >= 0)
        return {FileHandle(), scoped};
    recoverInterruptedSave(path);
    FileHandle file(path, O_RDONLY);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, path);
    const int fd = file.fd();
    return {std::move(file), fd};
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
    checkPositions(positions, path);
    const LoadHandle file = openForLoad(path);
    std::vector<int> bytes(positions.size(), kEndOfFile);
    for (std::size_t i = 0; i < positions.size();) {
        const std::size_t n =
            runLength(i, positions.size(), [&](std::size_t k) { return positions[k]; });
        readRun(file.fd, positions[i], std::span<int>(bytes).subspan(i, n), path);
        i += n;
    }
    return bytes;
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
    out.resize(readImageAt(file.fd, start, out, path));
    return out;
}

ImageReadScope::ImageReadScope(std::string path)
    : m_path(std::move(path)), m_outer(innermostScope()) {
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
    for (const ImageReadScope* scope = innermostScope(); scope != nullptr; scope = scope->m_outer) {
        if (scope->m_path == path)
            return scope->m_fd;
    }
    return -1;
}

} // namespace starfall
