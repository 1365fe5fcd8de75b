#pragma once

#include "core/io/Position.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::test {

// An image built in memory for a test, then written to a file.
//  - flat: `size` bytes of `fill`, with bytes placed at absolute positions;
//  - raw: 2352-byte Mode 2 Form 1 sectors (12-byte sync, 4-byte header,
//    8-byte subheader, 2048 data bytes, 280-byte tail) onto whose data areas
//    a continuous logical stream can be laid.
class SyntheticImage {
public:
    static constexpr Position kSectorSize = 2352;
    static constexpr Position kDataOffset = 24;
    static constexpr Position kDataSize = 2048;

    [[nodiscard]] static SyntheticImage flat(Position size, std::uint8_t fill = 0);
    [[nodiscard]] static SyntheticImage rawSectors(Position sectorCount, std::uint8_t fill = 0);

    SyntheticImage& place(Position position, std::initializer_list<std::uint8_t> bytes);
    SyntheticImage& place(Position position, std::string_view bytes);
    // Lays bytes onto the logical data stream of a raw image.
    SyntheticImage& layStream(Position logicalOffset, std::initializer_list<std::uint8_t> bytes);

    // Raw position of a logical data-stream offset.
    [[nodiscard]] static Position rawPosition(Position logicalOffset);

    [[nodiscard]] std::uint8_t at(Position position) const;
    [[nodiscard]] const std::string& bytes() const { return m_bytes; }
    [[nodiscard]] Position size() const { return static_cast<Position>(m_bytes.size()); }
    void saveTo(const std::string& path) const;

private:
    std::string m_bytes;
};

// Positions at which two images differ (a longer image's extra bytes count).
[[nodiscard]] std::vector<Position> changedPositions(std::string_view before, std::string_view after);

} // namespace starfall::test
