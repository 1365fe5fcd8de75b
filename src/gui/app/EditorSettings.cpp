#include "gui/app/EditorSettings.h"

#include <QSettings>

namespace starfall::settings {

namespace {

const QString kRefreshCodesKey = QStringLiteral("save/refreshSectorCodes");
const QString kRecentKey = QStringLiteral("files/recentImages");
const QString kRecordHistoryKey = QStringLiteral("save/recordHistory");

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("starfall"),
                     QStringLiteral("editor"));
}

} // namespace

bool refreshSectorCodes() {
    return store().value(kRefreshCodesKey, true).toBool();
}

void setRefreshSectorCodes(bool refresh) {
    store().setValue(kRefreshCodesKey, refresh);
}

bool recordHistory() {
    return store().value(kRecordHistoryKey, true).toBool();
}

void setRecordHistory(bool record) {
    store().setValue(kRecordHistoryKey, record);
}

QStringList recentImages() {
    QStringList images = store().value(kRecentKey).toStringList();
    images.removeDuplicates();
    while (images.size() > kRecentImageCount)
        images.removeLast();
    return images;
}

void rememberImage(const QString& path) {
    QStringList images = recentImages();
    images.removeAll(path);
    images.prepend(path);
    while (images.size() > kRecentImageCount)
        images.removeLast();
    store().setValue(kRecentKey, images);
}

} // namespace starfall::settings
