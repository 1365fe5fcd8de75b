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
    std::vector<UChar> wide(text.size() + 1);
    const int32_t wideLength =
        ucnv_toUChars(converter(), wide.data(), static_cast<int32_t>(wide.size()), text.data(),
                      static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        throw std::runtime_error("code page 949 decoding failed");
    std::vector<char> out(static_cast<std::size_t>(wideLength) * 3 + 1);
    int32_t length = 0;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, wide.data(), wideLength,
                &status);
    if (U_FAILURE(status))
        throw std::runtime_error("UTF-8 encoding failed");
    return std::string(out.data(), static_cast<std::size_t>(length));
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
