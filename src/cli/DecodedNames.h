#pragma once

// The UTF-8 of CP949 names, each decoded once while a DecodedNames is open:
// the records of one export name the same texts many times over (every
// skill table its pilot's name, list files their entries again and again).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace starfall::cli {

class DecodedNames {
public:
    DecodedNames();
    ~DecodedNames();
    DecodedNames(const DecodedNames&) = delete;
    DecodedNames& operator=(const DecodedNames&) = delete;

    // The innermost one open, or none.
    [[nodiscard]] static DecodedNames* current();
    // As cp949::toUtf8 decodes it; valid until the next call.
    [[nodiscard]] const std::string& utf8(std::string_view cp949);

    // It forgets what it holds past this many texts, so that lists of any
    // size cost the same memory.
    static constexpr std::size_t kKept = 4096;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_texts;
    DecodedNames* m_outer;
};

} // namespace starfall::cli
