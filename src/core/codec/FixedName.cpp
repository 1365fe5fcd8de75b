#include "core/codec/FixedName.h"

#include "core/codec/Cp949.h"

namespace starfall {

FixedName::FixedName(std::string_view utf8) : m_cp949(cp949::fromUtf8(utf8)) {}

bool FixedName::isContainedIn(std::string_view cp949Name) const {
    return cp949::containsOnBoundary(cp949Name, m_cp949);
}

} // namespace starfall
