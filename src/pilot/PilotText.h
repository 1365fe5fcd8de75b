#pragma once

// Text crossings between the pilot core (UTF-8 texts, code-page-949 names)
// and the Qt controls of the pilot page and the skill editor.

#include "image/Cp949.h"

#include <QString>

#include <string>
#include <string_view>

namespace starfall {

[[nodiscard]] inline QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

[[nodiscard]] inline std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A list name as the controls show it; comparisons keep using the bytes.
[[nodiscard]] inline QString displayName(std::string_view nameCp949) {
    return fromUtf8(cp949::toUtf8(nameCp949));
}

} // namespace starfall
