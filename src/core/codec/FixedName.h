#pragma once

#include <string>
#include <string_view>

namespace starfall {

// A name the records single out ("듀오", "단쿠가", ...). Written here in UTF-8;
// compared byte for byte with list names in code page 949.
class FixedName {
public:
    explicit FixedName(std::string_view utf8);

    [[nodiscard]] const std::string& bytes() const { return m_cp949; }
    [[nodiscard]] bool matches(std::string_view cp949Name) const { return cp949Name == m_cp949; }
    [[nodiscard]] bool isContainedIn(std::string_view cp949Name) const;

private:
    std::string m_cp949;
};

} // namespace starfall
