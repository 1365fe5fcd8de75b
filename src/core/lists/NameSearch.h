#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include "core/lists/NameList.h"

namespace starfall {

// The "GO" search of both record pages: the same text again goes on after the
// last hit and wraps around; a new text starts again from the first row.
// Matches are byte-exact and begin on a code-page-949 character boundary.
class NameSearch {
public:
    // Returns the row of the next name containing `text`, or nothing.
    [[nodiscard]] std::optional<std::size_t> next(std::string_view text,
                                                  const NameList& list);
    // A list rebuild forgets the last text and starts from the top.
    void reset();

    [[nodiscard]] const std::string& lastText() const { return m_lastText; }
    [[nodiscard]] std::size_t restartIndex() const { return m_restart; }

private:
    std::string m_lastText;
    std::size_t m_restart = 0;
};

} // namespace starfall
