#pragma once

// Where two buffers differ, found a block at a time: equal blocks cost one
// memcmp each, and only a block that differs is looked at byte by byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace starfall {

// Calls visit(i) for each i below the shorter size where a[i] != b[i], in order.
template <typename Visit>
void forEachDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                       Visit visit) {
    constexpr std::size_t kCoarse = 4096; // an equal page: one call
    constexpr std::size_t kFine = 64;     // around a change: a cache line at a time
    const std::size_t size = std::min(a.size(), b.size());
    const auto same = [&](std::size_t at, std::size_t count) {
        return std::memcmp(a.data() + at, b.data() + at, count) == 0;
    };
    for (std::size_t page = 0; page < size; page += kCoarse) {
        const std::size_t pageEnd = std::min(size, page + kCoarse);
        if (same(page, pageEnd - page))
            continue;
        for (std::size_t line = page; line < pageEnd; line += kFine) {
            const std::size_t lineEnd = std::min(pageEnd, line + kFine);
            if (same(line, lineEnd - line))
                continue;
            for (std::size_t i = line; i < lineEnd; ++i) {
                if (a[i] != b[i])
                    visit(i);
            }
        }
    }
}

// Calls visit(from, to) for each stretch [from, to) of bytes that all differ,
// with equal bytes (or the end) on both sides, in order.
template <typename Visit>
void forEachDifferingStretch(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                             Visit visit) {
    std::size_t from = 0;
    std::size_t to = 0;
    forEachDifference(a, b, [&](std::size_t i) {
        if (i != to) {
            if (to > from)
                visit(from, to);
            from = i;
        }
        to = i + 1;
    });
    if (to > from)
        visit(from, to);
}

} // namespace starfall
