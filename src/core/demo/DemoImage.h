#pragma once

// The demo image is built in memory: blank Mode 2 Form 1 sectors, then the
// records placed through the same layouts the editor uses, then each sector's
// error codes, and finally one write of the whole file.

#include "core/io/Position.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::demo {

class DemoImage {
public:
    // Enough whole sectors to hold `size` bytes.
    explicit DemoImage(Position size);

    // Places bytes at raw positions. Every position must lie in a sector's
    // data area: the demo is built to the same rule the editor's saves obey,
    // so a position in framing means a layout fault and throws logic_error
    // naming `what`.
    void put(std::string_view what, std::span<const Position> positions,
             std::span<const std::uint8_t> values);
    void put(std::string_view what, Position position, std::uint8_t value);

    // Fills in the EDC and ECC of every sector, then writes the file.
    void saveTo(const std::string& path);

    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace starfall::demo
