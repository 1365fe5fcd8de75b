#include "gui/widgets/EditorFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace starfall {

namespace {

// "굴림" where it is installed, else the CJK faces the set-up installs. The
// database is asked once: a family it lacks would otherwise be looked up,
// and missed, by every font request.
QStringList editorFamilies() {
    QStringList families{QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Noto Sans CJK SC")};
    if (QFontDatabase::hasFamily(QStringLiteral("굴림")))
        families.prepend(QStringLiteral("굴림"));
    return families;
}

} // namespace

QFont editorFont() {
    static const QStringList families = editorFamilies();
    QFont font;
    font.setFamilies(families);
    font.setPointSize(9);
    // Hangul syllables, Han and Latin need no OpenType shaping; skipping it
    // spares building HarfBuzz plans over the CJK faces' large tables.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace starfall
