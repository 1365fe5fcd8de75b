#pragma once

#include <QFont>

namespace starfall {

// 9-point "굴림", falling back to the CJK face the set-up installs, so that
// the Korean and Chinese labels render where the first face is missing.
[[nodiscard]] QFont editorFont();

} // namespace starfall
