#pragma once

// A buffer that large reads of an image land in, starting on a page
// boundary. The kernel's copy into a buffer that starts a few bytes past a
// page, as an ordinary allocation does, can run several times slower: its
// stores and the page it reads from then overlap in the cache's view.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

namespace starfall {

class ReadBuffer {
public:
    static constexpr std::size_t kAlignment = 4096;

    explicit ReadBuffer(std::size_t size)
        : m_bytes(static_cast<std::uint8_t*>(::operator new(size, std::align_val_t{kAlignment}))),
          m_size(size) {}

    [[nodiscard]] std::span<std::uint8_t> bytes() { return {m_bytes.get(), m_size}; }
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return {m_bytes.get(), m_size}; }

private:
    struct Free {
        void operator()(std::uint8_t* bytes) const {
            ::operator delete(bytes, std::align_val_t{kAlignment});
        }
    };
    std::unique_ptr<std::uint8_t, Free> m_bytes;
    std::size_t m_size;
};

} // namespace starfall
