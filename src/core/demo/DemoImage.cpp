#include "core/demo/DemoImage.h"

#include "core/io/CoreError.h"
#include "core/sector/SectorCodes.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace starfall::demo {

namespace {

constexpr Position kSectorSize = sector::kSectorBytes;
constexpr Position kDataStart = sector::kDataBegin;
constexpr Position kDataEnd = sector::kDataFinish;
constexpr std::uint8_t kDataSubmode = 0x08;
constexpr int kLeadInSectors = 150; // the two seconds before sector 0

std::uint8_t bcd(int value) {
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

// Sync pattern, minute-second-frame address, mode 2, and a Form 1 data
// subheader written twice.
void writeHead(std::uint8_t* head, int index) {
    std::copy(sector::kSync.begin(), sector::kSync.end(), head);
    const int frames = index + kLeadInSectors;
    head[12] = bcd(frames / (60 * 75));
    head[13] = bcd(frames / 75 % 60);
    head[14] = bcd(frames % 75);
    head[15] = 2;
    head[18] = kDataSubmode;
    head[22] = kDataSubmode;
}

bool inDataArea(Position position) {
    const Position offset = position % kSectorSize;
    return offset >= kDataStart && offset < kDataEnd;
}

} // namespace

DemoImage::DemoImage(Position size) {
    const Position sectors = (size + kSectorSize - 1) / kSectorSize;
    m_bytes.assign(static_cast<std::size_t>(sectors * kSectorSize), 0);
    for (Position i = 0; i < sectors; ++i)
        writeHead(m_bytes.data() + i * kSectorSize, static_cast<int>(i));
}

void DemoImage::put(std::string_view what, Position position, std::uint8_t value) {
    if (position < 0 || position >= static_cast<Position>(m_bytes.size()) ||
        !inDataArea(position)) {
        throw std::logic_error("demo: " + std::string(what) + " lands outside the data areas at " +
                               std::to_string(position));
    }
    m_bytes[static_cast<std::size_t>(position)] = value;
}

void DemoImage::put(std::string_view what, std::span<const Position> positions,
                    std::span<const std::uint8_t> values) {
    if (positions.size() != values.size())
        throw std::logic_error("demo: " + std::string(what) + " has unmatched values");
    for (std::size_t i = 0; i < positions.size(); ++i)
        put(what, positions[i], values[i]);
}

void DemoImage::saveTo(const std::string& path) {
    for (std::size_t at = 0; at < m_bytes.size(); at += sector::kSectorSize)
        sector::writeForm1Codes(sector::Sector(m_bytes.data() + at, sector::kSectorSize));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(m_bytes.data()),
              static_cast<std::streamsize>(m_bytes.size()));
    out.close();
    if (!out)
        throw CoreError(Failure::WriteFailed, path);
}

} // namespace starfall::demo
