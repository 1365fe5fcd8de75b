#pragma once

// Reads an image through one cached block, so that a walk over the image, or
// many small reads close together, read it once per block through one handle.

#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/io/ReadBuffer.h"
#include "core/io/Position.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace starfall::patch {

// The size of an image; throws CoreError(ImageOpenForLoad) when it has none.
[[nodiscard]] Position imageSize(const std::string& path);

// Bytes from `start` up to `end`.
struct ByteSpan {
    Position start = 0;
    Position end = 0;
    bool operator==(const ByteSpan&) const = default;
};

// The image's bytes under spans, one after the other in one buffer: a patch
// touches thousands of short spans, and a buffer each cost more than the reads.
class SpanBytes {
public:
    SpanBytes() = default;
    explicit SpanBytes(std::span<const ByteSpan> spans);

    [[nodiscard]] std::size_t size() const { return m_spans.size(); }
    [[nodiscard]] const ByteSpan& span(std::size_t i) const { return m_spans[i]; }
    [[nodiscard]] std::span<std::uint8_t> bytes(std::size_t i);
    [[nodiscard]] std::span<const std::uint8_t> bytes(std::size_t i) const;
    // The span holding `position`, which must lie in one of them.
    [[nodiscard]] std::size_t indexOf(Position position) const;
    // The same bytes under the same spans.
    bool operator==(const SpanBytes&) const = default;

private:
    [[nodiscard]] std::size_t length(std::size_t i) const {
        return static_cast<std::size_t>(m_spans[i].end - m_spans[i].start);
    }

    std::vector<ByteSpan> m_spans;
    std::vector<std::size_t> m_offsets; // where each span's bytes begin
    std::vector<std::uint8_t> m_bytes;
};

// The image's bytes under each span, given in increasing order and apart,
// read through one handle: spans close together share one read, and nothing
// else of the image is read. Throws CoreError(PatchOutsideImage) for a span
// past the image's end.
[[nodiscard]] SpanBytes readSpans(const std::string& path, std::span<const ByteSpan> spans);

class ImageWindow {
public:
    static constexpr Position kBlockBytes = Position{1} << 20;

    explicit ImageWindow(std::string path)
        : m_path(std::move(path)), m_buffer(static_cast<std::size_t>(kBlockBytes)) {}

    // Throws CoreError(PatchOutsideImage) for bytes past the image's end.
    void read(Position at, std::span<std::uint8_t> out);
    [[nodiscard]] std::vector<std::uint8_t> read(Position at, std::size_t count);
    [[nodiscard]] std::uint8_t at(Position position);
    // The image's bytes from `at` to the end of the block that holds it, at
    // most `most` of them: a walk reads them where they lie, without a copy.
    // Valid until the next call. Throws as read does.
    [[nodiscard]] std::span<const std::uint8_t> view(Position at, std::size_t most);
    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    void load(Position position);
    [[nodiscard]] int handle();

    std::string m_path;
    FileHandle m_file; // opened once, unless a read scope holds the image open
    Position m_start = -1;
    ReadBuffer m_buffer;
    std::span<const std::uint8_t> m_block; // what the last load read into m_buffer
};

} // namespace starfall::patch
