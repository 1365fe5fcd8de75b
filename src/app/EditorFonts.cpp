#include "app/EditorFonts.h"

#include <QStringList>

namespace starfall {

QFont editorFont() {
    QFont font;
    font.setFamilies({QStringLiteral("굴림"), QStringLiteral("Noto Sans CJK KR"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    return font;
}

} // namespace starfall
