#pragma once

#include "core/io/Position.h"

#include <vector>

namespace starfall {

// Walks a record the way its layout describes it: an absolute start, then
// fields taken one byte at a time with relative skips and further absolute
// moves in between. The result is the list of byte positions in field order,
// which the image-access layer then reads or writes in one pass.
class PositionWalker {
public:
    explicit PositionWalker(Position start) : m_current(start) {}

    // Takes `count` bytes at the current place and moves past them.
    PositionWalker& take(int count = 1);
    PositionWalker& skip(Position bytes);
    PositionWalker& seek(Position absolute);

    [[nodiscard]] Position current() const { return m_current; }
    [[nodiscard]] const std::vector<Position>& positions() const { return m_positions; }
    [[nodiscard]] std::vector<Position> release() { return std::move(m_positions); }

private:
    Position m_current;
    std::vector<Position> m_positions;
};

} // namespace starfall
