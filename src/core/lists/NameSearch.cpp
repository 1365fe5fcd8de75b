#include "core/lists/NameSearch.h"

#include "core/codec/Cp949.h"

namespace starfall {

std::optional<std::size_t> NameSearch::next(std::string_view text,
                                            const NameList& list) {
    if (text != m_lastText) {
        m_lastText = std::string(text);
        m_restart = 0;
    }
    const std::size_t n = list.entries.size();
    // Within one round of n rows every match is seen; further rounds up to the
    // 2n-miss limit can only repeat those misses.
    const std::size_t start = m_restart >= n ? 0 : m_restart;
    for (std::size_t step = 0; step < n; ++step) {
        const std::size_t row = (start + step) % n;
        if (cp949::containsOnBoundary(list.entries[row].name, text)) {
            m_restart = row + 1;
            return row;
        }
    }
    return std::nullopt;
}

void NameSearch::reset() {
    m_lastText.clear();
    m_restart = 0;
}

} // namespace starfall
