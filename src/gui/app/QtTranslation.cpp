#include "gui/app/QtTranslation.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace starfall {

bool loadQtKorean(QTranslator& translator) {
    return translator.load(QStringLiteral("qtbase_ko"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace starfall
