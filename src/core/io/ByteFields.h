#pragma once

// Little-endian fields of the files a save keeps beside the image (the
// journal, the history): appending them, and reading them back in order.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace starfall {

inline void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Appends by resizing first: GCC 12 misreads an insert at the end as an
// overflow at -O2 and stops a Release build.
inline void putBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    const std::size_t at = out.size();
    out.resize(at + bytes.size());
    if (!bytes.empty())
        std::memcpy(out.data() + at, bytes.data(), bytes.size());
}

inline void putBytes(std::vector<std::uint8_t>& out, std::string_view text) {
    putBytes(out, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Reads fields in order; any read past the end marks the whole read bad, and
// every later read then gives zero or nothing.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint64_t number(std::size_t bytes) {
        if (!has(bytes))
            return 0;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            value |= std::uint64_t{m_bytes[m_at + i]} << (8 * i);
        m_at += bytes;
        return value;
    }
    std::span<const std::uint8_t> bytes(std::uint64_t count) {
        if (!has(count))
            return {};
        const auto span = m_bytes.subspan(m_at, static_cast<std::size_t>(count));
        m_at += static_cast<std::size_t>(count);
        return span;
    }
    // Reads `expected`'s length of bytes; false (and bad) unless they match.
    bool magic(std::string_view expected) {
        const auto span = bytes(expected.size());
        return m_ok = m_ok && std::equal(expected.begin(), expected.end(), span.begin());
    }
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] bool atEnd() const { return m_at == m_bytes.size(); }
    [[nodiscard]] std::span<const std::uint8_t> rest() const { return m_bytes.subspan(m_at); }

private:
    bool has(std::uint64_t count) {
        if (count > m_bytes.size() - m_at)
            m_ok = false;
        return m_ok;
    }
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

} // namespace starfall
