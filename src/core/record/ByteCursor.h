#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>

namespace starfall {

// Hands out the bytes of a read plan in field order, so that a decoder reads
// like the layout that planned the positions.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const int> bytes) : m_bytes(bytes) {}

    int next() {
        if (m_index >= m_bytes.size())
            throw std::logic_error("a decoder read more bytes than its layout planned");
        return m_bytes[m_index++];
    }
    [[nodiscard]] bool atEnd() const { return m_index == m_bytes.size(); }

private:
    std::span<const int> m_bytes;
    std::size_t m_index = 0;
};

} // namespace starfall
