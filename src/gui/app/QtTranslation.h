#pragma once

// Qt's own texts (the buttons of message boxes, the open-file dialog) in the
// program's language, from the translations Debian installs with
// qt6-translations-l10n.

class QTranslator;

namespace starfall {

// Loads Qt's Korean catalogue into `translator`; false when it is not
// installed, in which case Qt keeps its English texts.
[[nodiscard]] bool loadQtKorean(QTranslator& translator);

} // namespace starfall
