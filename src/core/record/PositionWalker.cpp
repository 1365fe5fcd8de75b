#include "core/record/PositionWalker.h"

namespace starfall {

PositionWalker& PositionWalker::take(int count) {
    for (int i = 0; i < count; ++i)
        m_positions.push_back(m_current++);
    return *this;
}

PositionWalker& PositionWalker::skip(Position bytes) {
    m_current += bytes;
    return *this;
}

PositionWalker& PositionWalker::seek(Position absolute) {
    m_current = absolute;
    return *this;
}

} // namespace starfall
