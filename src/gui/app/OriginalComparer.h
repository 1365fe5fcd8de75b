#pragma once

// The File menu's comparison with the untouched original: "원본 이미지 지정…"
// picks it (remembered per image with QSettings), "원본 비교 해제" forgets it,
// "바뀐 곳 보기" lists the changes. With an original set, the lists mark the
// records that differ and the pages the fields; both follow every save
// (the image file is watched) and every change of record.

#include "core/compare/OriginalComparison.h"
#include "core/io/ImageSession.h"

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QFileSystemWatcher;
class QMenu;
class QPushButton;

namespace starfall {

class ChangesWindow;
class EditorPage;
class MainWindow;

class OriginalComparer : public QObject {
    Q_OBJECT
public:
    // Adds its items to the window's File menu, before "종료".
    explicit OriginalComparer(MainWindow& window);
    // Gives a unit or pilot page, once built, its "원본 값으로" button and
    // follows its list; shows the comparison's marks on any page.
    void attachPage(EditorPage& page);

    // The window opened an image: its remembered original, if any, is compared.
    void imageOpened(const ImageSession& session);

    // "원본 이미지 지정…": asks for the original through the image dialog seam.
    void chooseOriginal();
    // Refuses (with a message) an original of another size, with other list
    // files beside it, or the image itself; else remembers it and compares.
    bool setOriginal(const QString& path);
    // "원본 비교 해제".
    void clearOriginal();
    // Compares again; false when cancelled or failed (reported).
    bool refresh();
    // "바뀐 곳 보기".
    void showChanges();
    // Shows a record of the comparison on its page.
    void showRecord(const std::string& section, std::size_t index);

    [[nodiscard]] const QString& original() const { return m_original; }
    [[nodiscard]] const std::optional<OriginalComparison>& comparison() const {
        return m_comparison;
    }
    [[nodiscard]] ChangesWindow* changesWindow() const { return m_changes; }

    // The QSettings key that remembers the original of `imagePath`.
    [[nodiscard]] static QString settingsKey(const std::string& imagePath);

Q_SIGNALS:
    // An original was set or forgotten.
    void originalChanged();

private:
    void addMenuItems();
    void forget();
    void applyMarks();
    void markCurrentRecords();
    void onImageChanged();
    [[nodiscard]] bool acceptable(const QString& path) const;

    MainWindow& m_window;
    ImageSession m_session;
    QString m_original;
    std::optional<OriginalComparison> m_comparison;
    QAction* m_choose = nullptr;
    QAction* m_clear = nullptr;
    QAction* m_showChanges = nullptr;
    QPushButton* m_unitOriginal = nullptr;
    QPushButton* m_pilotOriginal = nullptr;
    ChangesWindow* m_changes = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
    bool m_comparing = false;
};

} // namespace starfall
