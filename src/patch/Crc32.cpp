#include "patch/Crc32.h"

#include <zlib.h>

namespace starfall::patch {

void Crc32::update(std::span<const std::uint8_t> bytes) {
    m_value = static_cast<std::uint32_t>(::crc32_z(m_value, bytes.data(), bytes.size()));
}

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes) {
    Crc32 crc;
    crc.update(bytes);
    return crc.value();
}

} // namespace starfall::patch
