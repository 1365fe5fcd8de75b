#include "gui/widgets/EditorFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace starfall {

namespace {

// "굴림" where it is installed, else the CJK face the set-up installs. The
// database is asked once: a family it lacks would otherwise be looked up,
// and missed, by every font request.
//
// One family, not a list: a font given several families has the system's
// whole fallback list sorted for it the moment it is first used (once per
// weight), whereas a single family looks for fallbacks only when a character
// is missing. The regional Noto CJK faces cover the same characters, so a
// second one never drew anything the first lacked.
QStringList editorFamilies() {
    QStringList families{QStringLiteral("Noto Sans CJK KR")};
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
