#pragma once

#include <cstdint>
#include <span>

namespace starfall {

// zlib's CRC32, fed in pieces.
class Crc32 {
public:
    void update(std::span<const std::uint8_t> bytes);
    // As if the `length` bytes whose own CRC32 is `crc` had been fed.
    void append(std::uint32_t crc, std::size_t length);
    [[nodiscard]] std::uint32_t value() const { return m_value; }

private:
    std::uint32_t m_value = 0;
};

[[nodiscard]] std::uint32_t crc32Of(std::span<const std::uint8_t> bytes);

} // namespace starfall
