#include "support/SyntheticImage.h"

#include <fstream>
#include <stdexcept>

namespace starfall::test {

namespace {

std::uint8_t bcd(int value) { return static_cast<std::uint8_t>((value / 10) * 16 + value % 10); }

// Sync pattern, a header with the sector's address (sectors counted from
// 00:02:00) and mode 2, and a Form 1 subheader given twice.
void writeSectorHead(std::string& bytes, Position sector) {
    const Position at = sector * SyntheticImage::kSectorSize;
    bytes[static_cast<std::size_t>(at)] = 0;
    for (int i = 1; i <= 10; ++i)
        bytes[static_cast<std::size_t>(at + i)] = static_cast<char>(0xFF);
    bytes[static_cast<std::size_t>(at + 11)] = 0;
    const Position lba = sector + 150;
    const std::uint8_t header[] = {bcd(static_cast<int>(lba / 4500)),
                                   bcd(static_cast<int>((lba / 75) % 60)),
                                   bcd(static_cast<int>(lba % 75)), 2, 0, 0, 8, 0, 0, 0, 8, 0};
    for (std::size_t i = 0; i < sizeof header; ++i)
        bytes[static_cast<std::size_t>(at) + 12 + i] = static_cast<char>(header[i]);
}

} // namespace

SyntheticImage SyntheticImage::flat(Position size, std::uint8_t fill) {
    SyntheticImage image;
    image.m_bytes.assign(static_cast<std::size_t>(size), static_cast<char>(fill));
    return image;
}

SyntheticImage SyntheticImage::rawSectors(Position sectorCount, std::uint8_t fill) {
    SyntheticImage image = flat(sectorCount * kSectorSize, fill);
    for (Position s = 0; s < sectorCount; ++s)
        writeSectorHead(image.m_bytes, s);
    return image;
}

SyntheticImage& SyntheticImage::place(Position position, std::initializer_list<std::uint8_t> bytes) {
    Position p = position;
    for (std::uint8_t b : bytes) {
        if (p < 0 || p >= size())
            throw std::out_of_range("placed byte outside the synthetic image");
        m_bytes[static_cast<std::size_t>(p++)] = static_cast<char>(b);
    }
    return *this;
}

SyntheticImage& SyntheticImage::place(Position position, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        place(position + static_cast<Position>(i), {static_cast<std::uint8_t>(bytes[i])});
    return *this;
}

SyntheticImage& SyntheticImage::layStream(Position logicalOffset,
                                          std::initializer_list<std::uint8_t> bytes) {
    Position logical = logicalOffset;
    for (std::uint8_t b : bytes)
        place(rawPosition(logical++), {b});
    return *this;
}

Position SyntheticImage::rawPosition(Position logicalOffset) {
    return (logicalOffset / kDataSize) * kSectorSize + kDataOffset + logicalOffset % kDataSize;
}

std::uint8_t SyntheticImage::at(Position position) const {
    return static_cast<std::uint8_t>(m_bytes.at(static_cast<std::size_t>(position)));
}

void SyntheticImage::saveTo(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<Position> changedPositions(std::string_view before, std::string_view after) {
    std::vector<Position> changed;
    const std::size_t longest = std::max(before.size(), after.size());
    for (std::size_t i = 0; i < longest; ++i) {
        if (i >= before.size() || i >= after.size() || before[i] != after[i])
            changed.push_back(static_cast<Position>(i));
    }
    return changed;
}

} // namespace starfall::test
