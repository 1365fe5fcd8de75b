#pragma once

// The main window: the menu, the three tabs (unit, pilot, upgrade page), the
// open-image flow that hands every page its session, and Ctrl+O / Ctrl+X.

#include "app/PageOwner.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QTabWidget;

namespace starfall {

class CUnitDlgPage;
class CCharDlgPage;
class CRebuildDlgPage;

class CEditorDlg : public QMainWindow, public PageOwner {
    Q_OBJECT
public:
    static constexpr int kUnitTab = 0;
    static constexpr int kPilotTab = 1;
    static constexpr int kUpgradeTab = 2;

    explicit CEditorDlg(QWidget* parent = nullptr);

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

    [[nodiscard]] CUnitDlgPage* unitPage() const { return m_unitPage; }
    [[nodiscard]] CCharDlgPage* pilotPage() const { return m_pilotPage; }
    [[nodiscard]] CRebuildDlgPage* upgradePage() const { return m_upgradePage; }
    [[nodiscard]] QTabWidget* pageSet() const { return m_pageSet; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();

    CUnitDlgPage* m_unitPage = nullptr;
    CCharDlgPage* m_pilotPage = nullptr;
    CRebuildDlgPage* m_upgradePage = nullptr;
    QTabWidget* m_pageSet = nullptr;
    std::function<std::string()> m_programDirectory;
};

} // namespace starfall
