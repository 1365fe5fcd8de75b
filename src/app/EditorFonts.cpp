#include "app/EditorFonts.h"

#include <QStringList>

namespace starfall {

QFont editorFont() {
    QFont font;
    font.setFamilies({QStringLiteral("굴림"), QStringLiteral("Noto Sans CJK KR"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    // Hangul syllables, Han and Latin need no OpenType shaping; skipping it
    // spares building HarfBuzz plans over the CJK faces' large tables.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace starfall
