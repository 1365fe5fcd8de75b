#pragma once

// The File menu's patches: "패치 만들기…" (from the original to the image,
// while an original is set), "패치 적용…" and "패치 되돌리기…", each through a
// preview that shows what would change before anything is written. The plan
// and the comparison run off the GUI thread with Cancel; the write, all or
// nothing through the journaled save, comes after, and the pages reload.

#include "core/compare/PatchPreview.h"
#include "core/io/ImageSession.h"
#include "core/patch/PatchMake.h"

#include <QObject>
#include <QString>

#include <optional>

class QAction;

namespace starfall {

class MainWindow;
class OriginalComparer;
class PatchPreviewWindow;

struct MakePatchRequest {
    QString output;
    patch::PatchKind kind = patch::PatchKind::Ppf;
    QString description;
    QString dizPath; // empty: none
};

class PatchActions : public QObject {
    Q_OBJECT
public:
    PatchActions(MainWindow& window, OriginalComparer& comparer);

    void imageOpened(const ImageSession& session);

    // "패치 만들기…": the dialog, then where to write.
    void askToMakePatch();
    // Writes the patch from the original to the image; false when refused,
    // cancelled or failed (reported).
    bool makePatch(const MakePatchRequest& request);

    // "패치 적용…" / "패치 되돌리기…": asks for the patch, then previews it.
    void askToPreview(PatchDirection direction);
    // Works out what the patch would do and opens its preview (not waiting
    // for it); null when cancelled.
    PatchPreviewWindow* preview(const QString& patchPath, PatchDirection direction);
    // The preview's "적용": writes what it showed and reloads the pages.
    bool goAhead();

    [[nodiscard]] PatchPreviewWindow* previewWindow() const { return m_preview_window; }

private:
    void addMenuItems();
    void originalChanged();

    MainWindow& m_main;
    OriginalComparer& m_comparer;
    ImageSession m_session;
    QAction* m_make = nullptr;
    QAction* m_apply = nullptr;
    QAction* m_undo = nullptr;
    PatchPreviewWindow* m_preview_window = nullptr;
    QString m_patchPath;
    std::optional<PatchPreview> m_preview;
    PatchDirection m_direction = PatchDirection::Apply;
};

} // namespace starfall
