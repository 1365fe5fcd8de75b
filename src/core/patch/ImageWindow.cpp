#include "core/patch/ImageWindow.h"

#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace starfall::patch {

Position imageSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw CoreError(Failure::ImageOpenForLoad, path, -1, error.message());
    return static_cast<Position>(size);
}

namespace {

// Spans closer than this are read as one: a read costs more than the bytes
// between them.
constexpr Position kJoinGap = 4096;
constexpr Position kMaxJoined = Position{1} << 20;

// The first span past `first` that the read starting at `first` leaves out.
std::size_t joinedEnd(std::span<const ByteSpan> spans, std::size_t first) {
    std::size_t last = first + 1;
    while (last < spans.size() && spans[last].start - spans[last - 1].end <= kJoinGap &&
           spans[last].end - spans[first].start <= kMaxJoined)
        ++last;
    return last;
}

} // namespace

std::vector<ByteRun> readSpans(const std::string& path, std::span<const ByteSpan> spans) {
    std::vector<ByteRun> runs;
    runs.reserve(spans.size());
    if (spans.empty())
        return runs;
    const ImageReadScope scope(path);
    const int fd = ImageReadScope::handleFor(path);
    if (fd < 0)
        throw CoreError(Failure::ImageOpenForLoad, path);
    std::vector<std::uint8_t> buffer;
    for (std::size_t first = 0; first < spans.size();) {
        const std::size_t last = joinedEnd(spans, first);
        const Position start = spans[first].start;
        buffer.resize(static_cast<std::size_t>(spans[last - 1].end - start));
        checkPositions(std::array<Position, 1>{start}, path);
        const std::size_t got = readImageAt(fd, start, buffer, path);
        for (std::size_t i = first; i < last; ++i) {
            if (spans[i].end - start > static_cast<Position>(got))
                throw CoreError(Failure::PatchOutsideImage, path, start + static_cast<Position>(got));
            const auto from = buffer.begin() + static_cast<std::ptrdiff_t>(spans[i].start - start);
            runs.push_back(
                {spans[i].start, std::vector<std::uint8_t>(
                                     from, from + static_cast<std::ptrdiff_t>(spans[i].end -
                                                                              spans[i].start))});
        }
        first = last;
    }
    return runs;
}

void ImageWindow::load(Position position) {
    const Position start = position - position % kBlockBytes;
    if (start == m_start)
        return;
    m_start = -1; // a failed read leaves no stale block behind
    m_block = readRange(m_path, start, static_cast<std::size_t>(kBlockBytes));
    m_start = start;
}

void ImageWindow::read(Position at, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const Position position = at + static_cast<Position>(done);
        load(position);
        const auto offset = static_cast<std::size_t>(position - m_start);
        if (offset >= m_block.size())
            throw CoreError(Failure::PatchOutsideImage, m_path, position);
        const std::size_t count = std::min(out.size() - done, m_block.size() - offset);
        std::copy_n(m_block.begin() + static_cast<std::ptrdiff_t>(offset), count,
                    out.begin() + static_cast<std::ptrdiff_t>(done));
        done += count;
    }
}

std::vector<std::uint8_t> ImageWindow::read(Position at, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    read(at, out);
    return out;
}

std::uint8_t ImageWindow::at(Position position) {
    std::uint8_t byte = 0;
    read(position, std::span(&byte, 1));
    return byte;
}

} // namespace starfall::patch
