#pragma once

// Code page 949 as Windows defines it (Unified Hangul Code). Names from the
// list files and the fixed names the records compare against stay in these
// bytes; the front ends decode them only to show them.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace starfall::cp949 {

// Invalid sequences decode to U+FFFD; nothing is dropped.
[[nodiscard]] std::string toUtf8(std::string_view cp949);
// Many texts at once, each decoded exactly as toUtf8 decodes it alone: one
// pass through the converter instead of one per text, which was most of the
// cost of printing a long list's names.
[[nodiscard]] std::vector<std::string> toUtf8Each(const std::vector<std::string_view>& texts);

// Texts decoded into one buffer, for lists too long to hold a string a name.
class Utf8Texts {
public:
    [[nodiscard]] std::size_t size() const { return m_spans.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t i) const {
        return std::string_view(m_bytes).substr(m_spans[i].first, m_spans[i].second);
    }

private:
    friend void toUtf8Into(const std::vector<std::string_view>& texts, Utf8Texts& decoded);
    std::string m_bytes;
    std::vector<std::pair<std::size_t, std::size_t>> m_spans; // start, length
};
// Each text decoded exactly as toUtf8 decodes it alone, in one pass through
// the converter; `decoded` is emptied first and its room kept.
void toUtf8Into(const std::vector<std::string_view>& texts, Utf8Texts& decoded);
// Characters code page 949 lacks become '?'.
[[nodiscard]] std::string fromUtf8(std::string_view utf8);

// Length of the character starting at text[i]: 2 for a lead byte followed by a
// valid trail byte, else 1.
[[nodiscard]] std::size_t charLength(std::string_view text, std::size_t i);

// Byte-exact substring search whose match starts on a character boundary.
[[nodiscard]] bool containsOnBoundary(std::string_view haystack, std::string_view needle);

} // namespace starfall::cp949
