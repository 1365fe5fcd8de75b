#include "core/patch/ImageWindow.h"

#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/io/ImageSave.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
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

SpanBytes::SpanBytes(std::span<const ByteSpan> spans) : m_spans(spans.begin(), spans.end()) {
    m_offsets.reserve(spans.size());
    std::size_t total = 0;
    for (const ByteSpan& span : spans) {
        m_offsets.push_back(total);
        total += static_cast<std::size_t>(span.end - span.start);
    }
    m_bytes.resize(total);
}

std::span<std::uint8_t> SpanBytes::bytes(std::size_t i) {
    return std::span(m_bytes).subspan(m_offsets[i], length(i));
}

std::span<const std::uint8_t> SpanBytes::bytes(std::size_t i) const {
    return std::span(m_bytes).subspan(m_offsets[i], length(i));
}

std::size_t SpanBytes::indexOf(Position position) const {
    const auto after = std::upper_bound(m_spans.begin(), m_spans.end(), position,
                                        [](Position p, const ByteSpan& span) { return p < span.start; });
    return static_cast<std::size_t>(after - m_spans.begin()) - 1;
}

SpanBytes readSpans(const std::string& path, std::span<const ByteSpan> spans) {
    SpanBytes out(spans);
    if (spans.empty())
        return out;
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
            const std::span<std::uint8_t> to = out.bytes(i);
            std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(spans[i].start - start),
                        to.size(), to.begin());
        }
        first = last;
    }
    return out;
}

int ImageWindow::handle() {
    if (const int scoped = ImageReadScope::handleFor(m_path); scoped >= 0)
        return scoped;
    if (!m_file.isOpen()) {
        recoverInterruptedSave(m_path);
        m_file = FileHandle(m_path, O_RDONLY);
        if (!m_file.isOpen())
            throw CoreError(Failure::ImageOpenForLoad, m_path);
        // A walk reads the image front to back: let the kernel read ahead.
        (void)::posix_fadvise(m_file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    return m_file.fd();
}

void ImageWindow::load(Position position) {
    const Position start = position - position % kBlockBytes;
    if (start == m_start)
        return;
    m_start = -1; // a failed read leaves no stale block behind
    checkPositions(std::array<Position, 2>{start, start + kBlockBytes - 1}, m_path);
    m_block = m_buffer.bytes().first(readImageAt(handle(), start, m_buffer.bytes(), m_path));
    m_start = start;
}

std::span<const std::uint8_t> ImageWindow::view(Position at, std::size_t most) {
    load(at);
    const auto offset = static_cast<std::size_t>(at - m_start);
    if (offset >= m_block.size())
        throw CoreError(Failure::PatchOutsideImage, m_path, at);
    return m_block.subspan(offset, std::min(most, m_block.size() - offset));
}

void ImageWindow::read(Position at, std::span<std::uint8_t> out) {
    for (std::size_t done = 0; done < out.size();) {
        const std::span<const std::uint8_t> bytes =
            view(at + static_cast<Position>(done), out.size() - done);
        std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(done));
        done += bytes.size();
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
