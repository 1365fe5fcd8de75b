#pragma once

// Reads an image through one cached block, so that a walk over the image, or
// many small reads close together, open it once per block.

#include "core/io/ImageAccess.h"
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
};

// The image's bytes under each span, given in increasing order and apart,
// read through one handle: spans close together share one read, and nothing
// else of the image is read. Throws CoreError(PatchOutsideImage) for a span
// past the image's end.
[[nodiscard]] std::vector<ByteRun> readSpans(const std::string& path,
                                             std::span<const ByteSpan> spans);

class ImageWindow {
public:
    static constexpr Position kBlockBytes = Position{1} << 20;

    explicit ImageWindow(std::string path) : m_path(std::move(path)) {}

    // Throws CoreError(PatchOutsideImage) for bytes past the image's end.
    void read(Position at, std::span<std::uint8_t> out);
    [[nodiscard]] std::vector<std::uint8_t> read(Position at, std::size_t count);
    [[nodiscard]] std::uint8_t at(Position position);
    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    void load(Position position);

    std::string m_path;
    Position m_start = -1;
    std::vector<std::uint8_t> m_block;
};

} // namespace starfall::patch
