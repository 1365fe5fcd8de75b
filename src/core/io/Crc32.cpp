#include "core/io/Crc32.h"

#include <zlib.h>

namespace starfall {

Crc32Shift::Crc32Shift(std::size_t length)
    : m_length(length),
      m_op(static_cast<std::uint32_t>(::crc32_combine_gen(static_cast<z_off_t>(length)))) {}

std::uint32_t Crc32Shift::operator()(std::uint32_t before, std::uint32_t crc) const {
    return static_cast<std::uint32_t>(::crc32_combine_op(before, crc, m_op));
}

void Crc32::update(std::span<const std::uint8_t> bytes) {
    m_value = static_cast<std::uint32_t>(::crc32_z(m_value, bytes.data(), bytes.size()));
}

void Crc32::append(std::uint32_t crc, std::size_t length) {
    m_value =
        static_cast<std::uint32_t>(::crc32_combine(m_value, crc, static_cast<z_off_t>(length)));
}

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes) {
    Crc32 crc;
    crc.update(bytes);
    return crc.value();
}

} // namespace starfall
