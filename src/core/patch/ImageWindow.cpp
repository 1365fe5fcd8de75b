#include "core/patch/ImageWindow.h"

#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"

#include <algorithm>
#include <filesystem>

namespace starfall::patch {

Position imageSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw CoreError(Failure::ImageOpenForLoad, path, -1, error.message());
    return static_cast<Position>(size);
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
