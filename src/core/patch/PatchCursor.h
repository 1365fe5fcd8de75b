#pragma once

// Reads a patch file's fields in order, refusing a read past the part of the
// file it was given as a truncated patch.

#include "core/io/CoreError.h"
#include "core/text/PatchFaultTexts.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace starfall::patch {

class PatchCursor {
public:
    PatchCursor(std::span<const std::uint8_t> bytes, const std::string& path, std::size_t at = 0)
        : m_bytes(bytes), m_path(path), m_at(at) {}

    [[nodiscard]] std::size_t at() const { return m_at; }
    [[nodiscard]] std::size_t left() const { return m_bytes.size() - m_at; }
    [[nodiscard]] bool atEnd() const { return m_at == m_bytes.size(); }
    [[nodiscard]] bool startsWith(std::string_view text) const {
        return left() >= text.size() &&
               std::equal(text.begin(), text.end(),
                          m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at));
    }

    std::span<const std::uint8_t> take(std::size_t count) {
        if (count > left())
            fail(PatchFault::Truncated);
        const auto bytes = m_bytes.subspan(m_at, count);
        m_at += count;
        return bytes;
    }
    std::uint8_t byte() { return take(1)[0]; }
    // `count` bytes, low byte first.
    std::uint64_t little(std::size_t count) {
        const auto bytes = take(count);
        std::uint64_t value = 0;
        for (std::size_t i = count; i-- > 0;)
            value = value << 8 | bytes[i];
        return value;
    }

    [[noreturn]] void fail(PatchFault fault) const { failAt(fault, m_at); }
    [[noreturn]] void failAt(PatchFault fault, std::size_t at) const {
        throw CoreError(Failure::PatchDamaged, m_path, static_cast<Position>(at),
                        messages::patchFault(fault));
    }

private:
    std::span<const std::uint8_t> m_bytes;
    const std::string& m_path;
    std::size_t m_at;
};

} // namespace starfall::patch
