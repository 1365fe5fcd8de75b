#pragma once

// The main window: the menu, the tabbed pages (unit, pilot, upgrade page),
// the open-image flow that hands every page its session, the status bar, and
// Ctrl+O / Ctrl+S / Ctrl+X. A dialog's frame without minimise or maximise
// box, at the size its pages ask for; on a screen too small for that size the
// pages scroll and the window can be made smaller.
//
// No edit is dropped without asking: opening another image (by the menu,
// the recent list or a drop) and closing the window (by the menu, the key or
// the close box) first ask whether to save the pages' unsaved edits.
//
// The editor itself builds only the front page before its first paint; the
// pages of the hidden tabs and the window icon follow at once after it, or
// sooner, as soon as anything asks for a page, a tab or the window's state.

#include "core/io/ImageSession.h"
#include "core/lists/ImageSurvey.h"
#include "gui/pages/PageOwner.h"

#include <QMainWindow>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;

namespace starfall {

class EditorPage;
class HistoryMenu;
struct SaveOutcome;
class OriginalComparer;
class PatchActions;

// Whether a window builds all its pages before it is shown, or its front
// page first and the others just after its first paint.
enum class PageBuild { AllAtOnce, FrontPageFirst };

class MainWindow : public QMainWindow, public PageOwner {
    Q_OBJECT
public:
    // The tab an image open brings to the front: the first page.
    static constexpr int kFirstTab = 0;

    explicit MainWindow(QWidget* parent = nullptr, PageBuild build = PageBuild::AllAtOnce);
    ~MainWindow() override;

    // Asks for an image, then hands it to every page and has them load.
    void openImage();
    // Opens `imagePath` as if it had been chosen in the open-file dialog.
    // An image that cannot be opened, or a missing list file, is reported
    // with its reason and leaves the window as it was (without an image, the
    // pages stay off). Returns whether the image is loaded now.
    bool openImagePath(const QString& imagePath);
    void showAbout();
    // Ctrl+S: saves the current page's record, as its "确定" does.
    void saveCurrentPage();

    // Whether an image is loaded.
    [[nodiscard]] bool hasImage() const { return m_survey.has_value(); }
    // Asks the three-way question when any page holds unsaved edits: whether
    // the window may go on (the edits saved or discarded).
    [[nodiscard]] bool mayDropEdits();

    // Where openImage finds the program directory (the folder of the running
    // executable unless replaced; tests point it at their own folder).
    void setProgramDirectorySource(std::function<std::string()> source);

    // Ctrl+O opens an image, Ctrl+S saves, Ctrl+X closes the window (and so
    // ends the program).
    void handleKeyDown(int key) override;

    // Builds whatever the window has left for after its first paint: the
    // pages of the hidden tabs, each shown as the window's state has it, and
    // the window icon; and remembers the image opened meanwhile among the
    // recent ones (a settings write flushed to disk). Nothing when all is
    // built.
    void buildRest();
    [[nodiscard]] bool restBuilt() const { return m_restBuilt; }

    // The pages, the page set and each page are built before they are given.
    [[nodiscard]] const std::vector<EditorPage*>& pages() const {
        ensureBuilt();
        return m_pages;
    }
    // The page of type `Page`, or null.
    template <typename Page> [[nodiscard]] Page* page() const {
        ensureBuilt();
        return builtPage<Page>();
    }
    // The page of type `Page` if it is built already, else null: for what a
    // page not yet built has nothing of (marks to clear, edits to ask about).
    template <typename Page> [[nodiscard]] Page* builtPage() const {
        for (EditorPage* candidate : m_pages) {
            if (auto* found = qobject_cast<Page*>(candidate))
                return found;
        }
        return nullptr;
    }
    [[nodiscard]] QTabWidget* pageSet() const {
        ensureBuilt();
        return m_pageSet;
    }
    [[nodiscard]] HistoryMenu* historyMenu() const { return m_history; }
    // The File menu's comparison with the original image.
    [[nodiscard]] OriginalComparer* originalComparer() const { return m_originalComparer; }
    // The File menu's patches.
    [[nodiscard]] PatchActions* patchActions() const { return m_patchActions; }

Q_SIGNALS:
    // buildRest has built what was left.
    void restBuiltNow();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildPages(PageBuild build);
    // Makes the page of kPages[entry], the next one, and hooks it up.
    EditorPage* makePage(std::size_t entry);
    // Shows the window's image, or none, on `page` (kPages[entry]).
    void readyPage(EditorPage& page, std::size_t entry);
    // Building late is nothing a caller can tell apart, so const callers may.
    void ensureBuilt() const;
    void buildMenus();
    // After an undo or redo of a save: every page shows what the image holds.
    void reloadPages();
    void buildStatusBar();
    void fitScreen();

    // Recent images and the sector-code option, kept in the settings.
    void addRecentMenu(QMenu* file);
    void refreshRecentMenu();
    // Puts the image opened last at the top of the recent images.
    void rememberOpenedImage();
    void addOptionsMenu();

    // What the window shows of its state: the title, the tabs' marks, the
    // status bar, and the pages on or off.
    void showNoImage();
    void showImage(const QString& path, const ImageSurvey& survey);
    void showEditState();
    void showSave(const SaveOutcome& outcome);
    [[nodiscard]] bool anyUnsavedEdits() const;

    std::vector<EditorPage*> m_pages;
    QTabWidget* m_pageSet = nullptr;
    std::function<std::string()> m_programDirectory;
    HistoryMenu* m_history = nullptr;
    std::optional<ImageSurvey> m_survey;
    ImageSession m_session; // of the loaded image, for pages built later
    QString m_imageToRemember; // opened before the rest was built
    bool m_restBuilt = false;
    bool m_restQueued = false;
    QString m_imagePath;
    QMenu* m_recentMenu = nullptr;
    QAction* m_refreshCodes = nullptr;
    QLabel* m_imageStatus = nullptr;
    QLabel* m_saveStatus = nullptr;
    OriginalComparer* m_originalComparer = nullptr;
    PatchActions* m_patchActions = nullptr;
};

} // namespace starfall
