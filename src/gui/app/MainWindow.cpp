#include "gui/app/MainWindow.h"

#include "gui/app/AboutDialog.h"
#include "gui/app/OriginalComparer.h"
#include "gui/app/PatchActions.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/pages/EditorPage.h"
#include "gui/widgets/ImageFileDialog.h"
#include "core/io/ImageSession.h"
#include "core/io/ProgramDirectory.h"
#include "core/io/TraceChannel.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTabWidget>

namespace starfall {

namespace {

struct PageEntry {
    const char* tabTitle;
    EditorPage* (*make)(QWidget* parent);
};

template <typename Page> EditorPage* makePage(QWidget* parent) {
    return new Page(parent);
}

// The tabs, in their order. Adding a page to the editor is adding it here.
constexpr PageEntry kPages[] = {
    {"机体", makePage<UnitPage>},
    {"人物", makePage<PilotPage>},
    {"改造", makePage<UpgradePage>},
};

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_programDirectory(programDirectory) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Starfall 롬 에디터 v1.3"));
    setWindowIcon(QIcon(QStringLiteral(":/starfall/editor.png")));
    buildPages();
    buildMenus();
    m_originalComparer = new OriginalComparer(*this);
    m_patchActions = new PatchActions(*this, *m_originalComparer);
    fixDialogFrame(this);
}

void MainWindow::buildPages() {
    m_pageSet = new QTabWidget(this);
    m_pageSet->setObjectName(QStringLiteral("pageSet"));
    for (const PageEntry& entry : kPages) {
        EditorPage* page = entry.make(m_pageSet);
        page->setOwner(this);
        page->setTraceSink(sendTrace);
        m_pageSet->addTab(page, QString::fromUtf8(entry.tabTitle));
        m_pages.push_back(page);
    }
    m_pageSet->setCurrentIndex(kFirstTab);
    setCentralWidget(m_pageSet);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("파일(&F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    // The shortcuts are only shown in the item texts: the keys themselves go
    // through handleKeyDown, as they do from the pages.
    QAction* open = file->addAction(QStringLiteral("열기\tCtrl+O"));
    open->setObjectName(QStringLiteral("openAction"));
    connect(open, &QAction::triggered, this, &MainWindow::openImage);
    QAction* quit = file->addAction(QStringLiteral("종료\tCtrl+X"));
    quit->setObjectName(QStringLiteral("quitAction"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("도움말(&H)"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* about = help->addAction(QStringLiteral("프로그램 정보(&V)"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::openImage() {
    const auto chosen = imageFileDialog().chooseImage(this);
    if (!chosen)
        return;
    openImagePath(*chosen);
}

void MainWindow::openImagePath(const QString& imagePath) {
    ImageSession session;
    session.programDirectory = m_programDirectory();
    m_pageSet->setCurrentIndex(kFirstTab);
    session.imagePath = QFile::encodeName(QFileInfo(imagePath).absoluteFilePath()).toStdString();
    for (EditorPage* page : m_pages)
        page->openImage(session);
    m_originalComparer->imageOpened(session);
    m_patchActions->imageOpened(session);
}

void MainWindow::setProgramDirectorySource(std::function<std::string()> source) {
    m_programDirectory = std::move(source);
}

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainWindow::handleKeyDown(int key) {
    const bool ctrl = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    if (!ctrl)
        return;
    if (key == Qt::Key_O)
        openImage();
    else if (key == Qt::Key_X)
        close();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    handleKeyDown(event->key());
    QMainWindow::keyPressEvent(event);
}

} // namespace starfall
