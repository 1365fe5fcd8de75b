#pragma once

// Text built from many short pieces, appended inline: a record prints as
// hundreds of pieces of a few bytes each, and a library string's append,
// compiled out of line, cost more than copying them.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace starfall::cli {

// Copies a piece of text. Most pieces are a few dozen bytes at most: copied
// here in two overlapping moves of a fixed width, not through a call to the
// library's copy, which weighs every size first.
[[gnu::always_inline]] inline void copyText(char* to, const char* from, std::size_t size) {
    if (size >= 17 && size <= 32) {
        std::memcpy(to, from, 16);
        std::memcpy(to + (size - 16), from + (size - 16), 16);
    } else if (size >= 8 && size <= 16) {
        std::memcpy(to, from, 8);
        std::memcpy(to + (size - 8), from + (size - 8), 8);
    } else if (size >= 4 && size < 8) {
        std::memcpy(to, from, 4);
        std::memcpy(to + (size - 4), from + (size - 4), 4);
    } else if (size > 32) {
        std::memcpy(to, from, size);
    } else {
        for (std::size_t i = 0; i < size; ++i)
            to[i] = from[i];
    }
}

class TextBuffer {
public:
    [[gnu::always_inline]] void append(const char* data, std::size_t size) {
        if (size > m_capacity - m_size)
            grow(size);
        copyText(m_data.get() + m_size, data, size);
        m_size += size;
    }
    [[gnu::always_inline]] void append(std::string_view text) { append(text.data(), text.size()); }
    [[gnu::always_inline]] void append(std::size_t count, char c) {
        if (count == 0)
            return;
        if (count > m_capacity - m_size)
            grow(count);
        std::memset(m_data.get() + m_size, c, count);
        m_size += count;
    }
    [[gnu::always_inline]] TextBuffer& operator+=(std::string_view text) {
        append(text);
        return *this;
    }
    [[gnu::always_inline]] TextBuffer& operator+=(char c) {
        if (m_size == m_capacity)
            grow(1);
        m_data[m_size++] = c;
        return *this;
    }

    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] std::string_view view() const { return {m_data.get(), m_size}; }
    // Room for `capacity` bytes in all, so that the text grows to that size
    // without being copied.
    void reserve(std::size_t capacity) {
        if (capacity > m_capacity)
            grow(capacity - m_size);
    }
    // Cuts the text back to its first `size` bytes.
    void truncate(std::size_t size) { m_size = std::min(size, m_size); }
    void clear() { m_size = 0; }

private:
    // Out of the way of the appends, which are always inlined: left to its
    // own weighing, the compiler made some of them calls in an export's
    // innermost loop, and with more code in view (link-time optimisation) it
    // made them all calls, for 13% more instructions.
    [[gnu::noinline]] void grow(std::size_t more) {
        const std::size_t capacity = std::max({m_capacity * 2, m_size + more, std::size_t{256}});
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_size != 0)
            std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace starfall::cli
