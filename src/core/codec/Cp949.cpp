#include "core/codec/Cp949.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace starfall::cp949 {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's "cp949" is IBM's table; Windows' own is "windows-949".
UConverter* converter() {
    thread_local Converter instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        Converter c(ucnv_open("windows-949", &status));
        if (U_FAILURE(status) || !c)
            throw std::runtime_error("ICU has no windows-949 converter");
        status = U_ZERO_ERROR;
        ucnv_setSubstChars(c.get(), "?", 1, &status);
        return c;
    }();
    ucnv_reset(instance.get());
    return instance.get();
}

// Writes the UTF-8 of `text` into `buffer` from `at` on and returns where it
// ends. The buffer only grows, and the UTF-16 between the two keeps its room
// from one call to the next: long lists decode in batches without filling
// fresh memory for each.
std::size_t decodeAt(std::string& buffer, std::size_t at, std::string_view text) {
    if (text.empty())
        return at;
    thread_local std::vector<UChar> wide;
    if (wide.size() < text.size() + 1)
        wide.resize(text.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t wideLength =
        ucnv_toUChars(converter(), wide.data(), static_cast<int32_t>(wide.size()), text.data(),
                      static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        throw std::runtime_error("code page 949 decoding failed");
    const std::size_t capacity = static_cast<std::size_t>(wideLength) * 3;
    if (buffer.size() < at + capacity)
        buffer.resize(at + capacity);
    int32_t length = 0;
    u_strToUTF8(buffer.data() + at, static_cast<int32_t>(capacity), &length, wide.data(),
                wideLength, &status);
    if (U_FAILURE(status))
        throw std::runtime_error("UTF-8 encoding failed");
    return at + static_cast<std::size_t>(length);
}

} // namespace

std::string toUtf8(std::string_view text) {
    std::string out;
    out.resize(decodeAt(out, 0, text));
    return out;
}

// The texts are joined by line feeds and decoded as one. A line feed is a
// whole character in code page 949 and in UTF-8, and the converter keeps no
// state past one: a lead byte cut off by it decodes as the same U+FFFD as at
// the end of a text of its own (the tests try every one and two-byte text).
// A text holding a line feed itself is decoded alone, after the others.
void toUtf8Into(const std::vector<std::string_view>& texts, Utf8Texts& decoded) {
    thread_local std::string joined;
    joined.clear();
    std::vector<bool> alone(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        alone[i] = texts[i].find('\n') != std::string_view::npos;
        if (!alone[i])
            joined.append(texts[i]);
        joined += '\n';
    }
    decoded.m_spans.clear();
    std::size_t end = decodeAt(decoded.m_bytes, 0, joined);
    const std::string_view lines(decoded.m_bytes.data(), end);
    std::size_t from = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t feed = lines.find('\n', from);
        decoded.m_spans.emplace_back(from, feed - from);
        from = feed + 1;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!alone[i])
            continue;
        const std::size_t start = end;
        end = decodeAt(decoded.m_bytes, start, texts[i]);
        decoded.m_spans[i] = {start, end - start};
    }
}

std::vector<std::string> toUtf8Each(const std::vector<std::string_view>& texts) {
    Utf8Texts decoded;
    toUtf8Into(texts, decoded);
    std::vector<std::string> out;
    out.reserve(texts.size());
    for (std::size_t i = 0; i < decoded.size(); ++i)
        out.emplace_back(decoded[i]);
    return out;
}

std::string fromUtf8(std::string_view text) {
    if (text.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    std::vector<UChar> wide(text.size() + 1);
    int32_t wideLength = 0;
    u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status))
        throw std::runtime_error("UTF-8 decoding failed");
    std::vector<char> out(static_cast<std::size_t>(wideLength) * 2 + 1);
    const int32_t length =
        ucnv_fromUChars(converter(), out.data(), static_cast<int32_t>(out.size()), wide.data(),
                        wideLength, &status);
    if (U_FAILURE(status))
        throw std::runtime_error("code page 949 encoding failed");
    return std::string(out.data(), static_cast<std::size_t>(length));
}

std::size_t charLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead > 0xFE || i + 1 >= text.size())
        return 1;
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    const bool validTrail = (trail >= 0x41 && trail <= 0x5A) || (trail >= 0x61 && trail <= 0x7A) ||
                            (trail >= 0x81 && trail <= 0xFE);
    return validTrail ? 2 : 1;
}

bool containsOnBoundary(std::string_view haystack, std::string_view needle) {
    if (needle.empty())
        return true;
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); i += charLength(haystack, i)) {
        if (haystack.compare(i, needle.size(), needle) == 0)
            return true;
    }
    return false;
}

} // namespace starfall::cp949
