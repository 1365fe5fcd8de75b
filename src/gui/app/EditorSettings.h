#pragma once

// What the editor remembers between runs (QSettings, the user's own scope):
// whether saves refresh sector codes, and the images opened last.

#include <QString>
#include <QStringList>

namespace starfall::settings {

inline constexpr int kRecentImageCount = 8;

// On unless the user turned it off.
[[nodiscard]] bool refreshSectorCodes();
void setRefreshSectorCodes(bool refresh);

// Whether saves are recorded in the image's history; on unless turned off.
[[nodiscard]] bool recordHistory();
void setRecordHistory(bool record);

// Newest first, at most kRecentImageCount, each once.
[[nodiscard]] QStringList recentImages();
// Puts `path` (absolute) first.
void rememberImage(const QString& path);

} // namespace starfall::settings
