#pragma once

#include <cstdint>
#include <span>

namespace starfall {

// What appending `length` bytes does to a CRC32, worked out once for the many
// pieces of one length that a walk over a file appends.
class Crc32Shift {
public:
    explicit Crc32Shift(std::size_t length);
    [[nodiscard]] std::size_t length() const { return m_length; }
    [[nodiscard]] std::uint32_t operator()(std::uint32_t before, std::uint32_t crc) const;

private:
    std::size_t m_length;
    std::uint32_t m_op;
};

// zlib's CRC32, fed in pieces.
class Crc32 {
public:
    void update(std::span<const std::uint8_t> bytes);
    // As if the `length` bytes whose own CRC32 is `crc` had been fed.
    void append(std::uint32_t crc, std::size_t length);
    // The same for a piece of `shift.length()` bytes, without working out the shift.
    void append(std::uint32_t crc, const Crc32Shift& shift) { m_value = shift(m_value, crc); }
    [[nodiscard]] std::uint32_t value() const { return m_value; }

private:
    std::uint32_t m_value = 0;
};

[[nodiscard]] std::uint32_t crc32Of(std::span<const std::uint8_t> bytes);
// The same through zlib's tables alone, as on a processor without
// carry-less multiply: what the faster path must agree with.
[[nodiscard]] std::uint32_t crc32ByTable(std::span<const std::uint8_t> bytes);

} // namespace starfall
