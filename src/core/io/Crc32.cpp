#include "core/io/Crc32.h"

#include "core/io/CrcFolding.h"

#include <array>
#include <zlib.h>

namespace starfall {

Crc32Shift::Crc32Shift(std::size_t length)
    : m_length(length),
      m_op(static_cast<std::uint32_t>(::crc32_combine_gen(static_cast<z_off_t>(length)))) {}

std::uint32_t Crc32Shift::operator()(std::uint32_t before, std::uint32_t crc) const {
    return static_cast<std::uint32_t>(::crc32_combine_op(before, crc, m_op));
}

namespace {

constexpr crcfold::FoldKeys kFoldKeys = crcfold::foldKeys(0xEDB88320);

std::uint32_t byTable(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(::crc32_z(crc, bytes.data(), bytes.size()));
}

} // namespace

void Crc32::update(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < crcfold::kFoldMinimum || !crcfold::available()) {
        m_value = byTable(m_value, bytes);
        return;
    }
    // zlib's CRC32 is the register inverted on the way in and out.
    std::array<std::uint8_t, 16> rest{};
    const std::size_t folded = crcfold::fold(kFoldKeys, ~m_value, bytes, rest);
    m_value = byTable(byTable(0xFFFFFFFFU, rest), bytes.subspan(folded));
}

std::uint32_t crc32ByTable(std::span<const std::uint8_t> bytes) {
    return byTable(0, bytes);
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
