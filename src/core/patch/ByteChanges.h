#pragma once

// The bytes a patch changes in an image, as runs in image order: what goes in
// and what was there, so that a write can be checked and taken back.

#include "core/io/ImageAccess.h"

#include <span>
#include <string>
#include <vector>

namespace starfall::patch {

struct ByteChanges {
    std::vector<ByteRun> next;
    std::vector<ByteRun> previous; // the same places, as the image held them
    [[nodiscard]] bool empty() const { return next.empty(); }
    [[nodiscard]] std::size_t bytes() const;
};

// Collects the bytes where `after` differs from `before`, joining a run that
// carries on from the previous call. Throws CoreError(PatchTooLarge) naming
// `path` once more than kMaxChangedBytes differ.
class ChangeCollector {
public:
    explicit ChangeCollector(std::string path) : m_path(std::move(path)) {}

    void compare(Position start, std::span<const std::uint8_t> before,
                 std::span<const std::uint8_t> after);
    [[nodiscard]] const std::vector<ByteRun>& next() const { return m_changes.next; }
    [[nodiscard]] ByteChanges take() { return std::move(m_changes); }

private:
    void add(Position position, std::span<const std::uint8_t> before,
             std::span<const std::uint8_t> after);

    std::string m_path;
    ByteChanges m_changes;
    std::size_t m_bytes = 0;
};

} // namespace starfall::patch
