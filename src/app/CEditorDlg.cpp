#include "app/CEditorDlg.h"

#include "app/CAboutDlg.h"
#include "app/ImageFileDialog.h"
#include "image/ImageSession.h"
#include "image/ProgramDirectory.h"
#include "image/TraceChannel.h"
#include "pilot/CCharDlgPage.h"
#include "unit/CUnitDlgPage.h"
#include "upgrade/CRebuildDlgPage.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTabWidget>

namespace starfall {

CEditorDlg::CEditorDlg(QWidget* parent)
    : QMainWindow(parent), m_programDirectory(programDirectory) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Starfall 롬 에디터 v1.3"));
    setWindowIcon(QIcon(QStringLiteral(":/starfall/editor.png")));

    m_pageSet = new QTabWidget(this);
    m_pageSet->setObjectName(QStringLiteral("pageSet"));
    m_unitPage = new CUnitDlgPage(m_pageSet);
    m_pilotPage = new CCharDlgPage(m_pageSet);
    m_upgradePage = new CRebuildDlgPage(m_pageSet);
    m_pageSet->addTab(m_unitPage, QStringLiteral("机体"));
    m_pageSet->addTab(m_pilotPage, QStringLiteral("人物"));
    m_pageSet->addTab(m_upgradePage, QStringLiteral("改造"));
    m_pageSet->setCurrentIndex(kUnitTab);
    setCentralWidget(m_pageSet);

    m_unitPage->setOwner(this);
    m_pilotPage->setOwner(this);
    m_pilotPage->setTraceSink(sendTrace);
    m_unitPage->setTraceSink(sendTrace);
    // The weapon editor looks for weapon.ini where the pages look for their
    // lists, so a replaced program directory source reaches it too.
    m_unitPage->setWeaponDlgServices({[this] { return m_programDirectory(); }, sendTrace});
    buildMenus();
}

void CEditorDlg::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("파일(&F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    // The shortcuts are only shown in the item texts: the keys themselves go
    // through handleKeyDown, as they do from the pages.
    QAction* open = file->addAction(QStringLiteral("열기\tCtrl+O"));
    open->setObjectName(QStringLiteral("openAction"));
    connect(open, &QAction::triggered, this, &CEditorDlg::openImage);
    QAction* quit = file->addAction(QStringLiteral("종료\tCtrl+X"));
    quit->setObjectName(QStringLiteral("quitAction"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("도움말(&H)"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* about = help->addAction(QStringLiteral("프로그램 정보(&V)"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &CEditorDlg::showAbout);
}

void CEditorDlg::openImage() {
    const auto chosen = imageFileDialog().chooseImage(this);
    if (!chosen)
        return;
    openImagePath(*chosen);
}

void CEditorDlg::openImagePath(const QString& imagePath) {
    ImageSession session;
    session.programDirectory = m_programDirectory();
    m_pageSet->setCurrentIndex(kUnitTab);
    session.imagePath = QFile::encodeName(QFileInfo(imagePath).absoluteFilePath()).toStdString();

    m_unitPage->setImageSession(session);
    m_pilotPage->setImageSession(session);
    m_unitPage->rebuildList();
    m_pilotPage->rebuildList();
    m_upgradePage->setImageSession(session);
    m_upgradePage->loadUpgradeTable();
}

void CEditorDlg::setProgramDirectorySource(std::function<std::string()> source) {
    m_programDirectory = std::move(source);
}

void CEditorDlg::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CEditorDlg::handleKeyDown(int key) {
    const bool ctrl = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    if (!ctrl)
        return;
    if (key == Qt::Key_O)
        openImage();
    else if (key == Qt::Key_X)
        close();
}

void CEditorDlg::keyPressEvent(QKeyEvent* event) {
    handleKeyDown(event->key());
    QMainWindow::keyPressEvent(event);
}

} // namespace starfall
