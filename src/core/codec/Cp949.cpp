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

} // namespace

std::string toUtf8(std::string_view text) {
    if (text.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    const std::size_t wideCapacity = text.size() + 1;
    const auto wide = std::make_unique_for_overwrite<UChar[]>(wideCapacity);
    const int32_t wideLength =
        ucnv_toUChars(converter(), wide.get(), static_cast<int32_t>(wideCapacity), text.data(),
                      static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        throw std::runtime_error("code page 949 decoding failed");
    const std::size_t capacity = static_cast<std::size_t>(wideLength) * 3;
    const auto out = std::make_unique_for_overwrite<char[]>(capacity);
    int32_t length = 0;
    u_strToUTF8(out.get(), static_cast<int32_t>(capacity), &length, wide.get(), wideLength,
                &status);
    if (U_FAILURE(status))
        throw std::runtime_error("UTF-8 encoding failed");
    return std::string(out.get(), static_cast<std::size_t>(length));
}

// The texts are joined by line feeds and decoded as one. A line feed is a
// whole character in code page 949 and in UTF-8, and the converter keeps no
// state past one: a lead byte cut off by it decodes as the same U+FFFD as at
// the end of a text of its own (the tests try every one and two-byte text).
// A text holding a line feed itself is decoded alone.
std::vector<std::string> toUtf8Each(const std::vector<std::string_view>& texts) {
    std::string joined;
    std::size_t total = texts.size();
    for (const std::string_view text : texts)
        total += text.size();
    joined.reserve(total);
    std::vector<bool> alone(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        alone[i] = texts[i].find('\n') != std::string_view::npos;
        if (!alone[i])
            joined.append(texts[i]);
        joined += '\n';
    }
    const std::string decoded = toUtf8(joined);
    std::vector<std::string> out;
    out.reserve(texts.size());
    std::size_t from = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t end = decoded.find('\n', from);
        out.push_back(alone[i] ? toUtf8(texts[i]) : decoded.substr(from, end - from));
        from = end + 1;
    }
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
