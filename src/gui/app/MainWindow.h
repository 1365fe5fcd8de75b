#pragma once

// The main window: the menu, the tabbed pages (unit, pilot, upgrade page),
// the open-image flow that hands every page its session, and Ctrl+O / Ctrl+X.
// A fixed-size window without minimise or maximise box, like a dialog.

#include "gui/pages/PageOwner.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QTabWidget;

namespace starfall {

class EditorPage;
class OriginalComparer;
class PatchActions;

class MainWindow : public QMainWindow, public PageOwner {
    Q_OBJECT
public:
    // The tab an image open brings to the front: the first page.
    static constexpr int kFirstTab = 0;

    explicit MainWindow(QWidget* parent = nullptr);

    // Asks for an image, then hands it to every page and has them load.
    void openImage();
    // Opens `imagePath` as if it had been chosen in the open-file dialog.
    void openImagePath(const QString& imagePath);
    void showAbout();

    // Where openImage finds the program directory (the folder of the running
    // executable unless replaced; tests point it at their own folder).
    void setProgramDirectorySource(std::function<std::string()> source);

    // Ctrl+O opens an image, Ctrl+X closes the window (and so ends the program).
    void handleKeyDown(int key) override;

    [[nodiscard]] const std::vector<EditorPage*>& pages() const { return m_pages; }
    // The page of type `Page`, or null.
    template <typename Page> [[nodiscard]] Page* page() const {
        for (EditorPage* candidate : m_pages) {
            if (auto* found = qobject_cast<Page*>(candidate))
                return found;
        }
        return nullptr;
    }
    [[nodiscard]] QTabWidget* pageSet() const { return m_pageSet; }
    // The File menu's comparison with the original image.
    [[nodiscard]] OriginalComparer* originalComparer() const { return m_originalComparer; }
    // The File menu's patches.
    [[nodiscard]] PatchActions* patchActions() const { return m_patchActions; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildPages();
    void buildMenus();

    std::vector<EditorPage*> m_pages;
    QTabWidget* m_pageSet = nullptr;
    std::function<std::string()> m_programDirectory;
    OriginalComparer* m_originalComparer = nullptr;
    PatchActions* m_patchActions = nullptr;
};

} // namespace starfall
