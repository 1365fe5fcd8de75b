#include "gui/app/MainWindow.h"

#include "core/io/CoreError.h"
#include "gui/app/OriginalComparer.h"
#include "gui/app/PatchActions.h"
#include "core/io/ImageSession.h"
#include "core/io/ProgramDirectory.h"
#include "core/io/TraceChannel.h"
#include "core/patch/PatchMake.h"
#include "core/text/Messages.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/EditorSettings.h"
#include "gui/app/HistoryMenu.h"
#include "gui/pages/EditorPage.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/widgets/ImageFileDialog.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/RecordSave.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>

namespace starfall {

namespace {

const QString kTitle = QStringLiteral("Starfall 롬 에디터 v1.3");

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

// The mark a tab and the title carry while their page holds unsaved edits.
const QString kUnsavedMark = QStringLiteral(" *");

// The one local image file among dropped URLs, if any.
std::optional<QString> droppedImage(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return std::nullopt;
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".img"), Qt::CaseInsensitive))
        return std::nullopt;
    return url.toLocalFile();
}

QString byteCount(std::int64_t bytes) {
    return QLocale(QLocale::Korean).toString(static_cast<qlonglong>(bytes)) +
           QStringLiteral("바이트");
}

QString codesText(const ImageSurvey& survey) {
    if (!survey.rawSectors)
        return QStringLiteral("원시 섹터 아님");
    return saveCodeRule() == CodeRule::Refresh ? QStringLiteral("원시 섹터, 섹터 코드 자동 갱신")
                                               : QStringLiteral("원시 섹터, 섹터 코드 그대로 둠");
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_programDirectory(programDirectory) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/starfall/editor.png")));
    setAcceptDrops(true);
    buildPages();
    buildMenus();
    m_originalComparer = new OriginalComparer(*this);
    m_patchActions = new PatchActions(*this, *m_originalComparer);
    buildStatusBar();
    setSaveListener([this](const SaveOutcome& outcome) { showSave(outcome); });
    showNoImage();
    fixDialogFrame(this);
    fitScreen();
}

MainWindow::~MainWindow() {
    setSaveListener({});
}

void MainWindow::buildPages() {
    m_pageSet = new QTabWidget(this);
    m_pageSet->setObjectName(QStringLiteral("pageSet"));
    for (const PageEntry& entry : kPages) {
        EditorPage* page = entry.make(m_pageSet);
        page->setOwner(this);
        page->setTraceSink(sendTrace);
        connect(page, &EditorPage::unsavedEditsChanged, this, &MainWindow::showEditState);
        m_pageSet->addTab(page, QString::fromUtf8(entry.tabTitle));
        m_pages.push_back(page);
    }
    m_pageSet->setCurrentIndex(kFirstTab);
    giveTabsAccessKeys(m_pageSet);
    setCentralWidget(m_pageSet);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("파일(&F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    // The shortcuts are only shown in the item texts: the keys themselves go
    // through handleKeyDown, as they do from the pages.
    QAction* open = file->addAction(QStringLiteral("열기(&O)\tCtrl+O"));
    open->setObjectName(QStringLiteral("openAction"));
    connect(open, &QAction::triggered, this, &MainWindow::openImage);
    addRecentMenu(file);
    QAction* save = file->addAction(QStringLiteral("저장(&S)\tCtrl+S"));
    save->setObjectName(QStringLiteral("saveAction"));
    connect(save, &QAction::triggered, this, &MainWindow::saveCurrentPage);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("종료(&X)\tCtrl+X"));
    quit->setObjectName(QStringLiteral("quitAction"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    m_history = new HistoryMenu(
        this, [this] { return m_pages.front()->imageSession().imagePath; },
        [this] { reloadPages(); });
    addOptionsMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("도움말(&H)"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* about = help->addAction(QStringLiteral("프로그램 정보(&V)"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::buildStatusBar() {
    m_imageStatus = new QLabel(this);
    m_imageStatus->setObjectName(QStringLiteral("imageStatus"));
    m_imageStatus->setAccessibleName(QStringLiteral("이미지 상태"));
    m_saveStatus = new QLabel(this);
    m_saveStatus->setObjectName(QStringLiteral("saveStatus"));
    m_saveStatus->setAccessibleName(QStringLiteral("마지막 저장"));
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_imageStatus, 1);
    statusBar()->addPermanentWidget(m_saveStatus);
}

// On a screen whose free area cannot hold the size every control asks for,
// the pages scroll and the window may be made as small as the screen.
void MainWindow::fitScreen() {
    const QScreen* shown = screen();
    if (shown == nullptr)
        return;
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize room = shown->availableGeometry().size() - QSize(0, titleBar);
    const QSize wanted = size();
    if (wanted.width() <= room.width() && wanted.height() <= room.height())
        return;
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("pageScroll"));
    scroll->setAccessibleName(QStringLiteral("페이지"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(takeCentralWidget());
    setCentralWidget(scroll);
    setMinimumSize(0, 0);
    setMaximumSize(wanted);
    resize(wanted.boundedTo(room));
}

void MainWindow::addRecentMenu(QMenu* file) {
    m_recentMenu = file->addMenu(QStringLiteral("최근 이미지(&R)"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    refreshRecentMenu();
}

void MainWindow::refreshRecentMenu() {
    m_recentMenu->clear();
    const QStringList images = settings::recentImages();
    for (int i = 0; i < images.size(); ++i) {
        const QString& path = images[i];
        QAction* item = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        item->setObjectName(QStringLiteral("recentImage%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path] { openImagePath(path); });
    }
    m_recentMenu->setEnabled(!images.isEmpty());
}

void MainWindow::addOptionsMenu() {
    QMenu* options = menuBar()->addMenu(QStringLiteral("설정(&S)"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    m_refreshCodes = options->addAction(QStringLiteral("섹터 코드 자동 갱신(&C)"));
    m_refreshCodes->setObjectName(QStringLiteral("refreshCodesAction"));
    m_refreshCodes->setCheckable(true);
    m_refreshCodes->setChecked(settings::refreshSectorCodes());
    setSaveCodeRule(m_refreshCodes->isChecked() ? CodeRule::Refresh : CodeRule::Keep);
    connect(m_refreshCodes, &QAction::toggled, this, [this](bool refresh) {
        settings::setRefreshSectorCodes(refresh);
        setSaveCodeRule(refresh ? CodeRule::Refresh : CodeRule::Keep);
        if (m_survey)
            showImage(m_imagePath, *m_survey);
    });
}

void MainWindow::openImage() {
    const auto chosen = imageFileDialog().chooseImage(this);
    if (!chosen)
        return;
    openImagePath(*chosen);
}

bool MainWindow::openImagePath(const QString& imagePath) {
    if (!mayDropEdits())
        return false;
    const QString absolute = QFileInfo(imagePath).absoluteFilePath();
    ImageSession session;
    session.programDirectory = m_programDirectory();
    session.imagePath = QFile::encodeName(absolute).toStdString();
    ImageSurvey survey;
    try {
        survey = surveyImage(session.imagePath, session.programDirectory);
    } catch (const CoreError& error) {
        const bool systemReason = error.failure() == Failure::ImageOpenForLoad;
        messagePresenter().show(
            this, messages::withReason(messageFor(error), systemReason ? error.detail() : ""));
        if (!hasImage())
            showNoImage();
        return false;
    }
    m_pageSet->setCurrentIndex(kFirstTab);
    for (EditorPage* page : m_pages) {
        page->setEnabled(true);
        page->setWritable(survey.writable);
        page->openImage(session);
    }
    page<UnitPage>()->markPastEnd(survey.unitsPastEnd);
    page<PilotPage>()->markPastEnd(survey.pilotsPastEnd);
    showImage(absolute, survey);
    m_originalComparer->imageOpened(session);
    m_patchActions->imageOpened(session);
    settings::rememberImage(absolute);
    refreshRecentMenu();
    if (survey.truncated())
        messagePresenter().show(
            this, messages::recordsPastImageEnd(session.imagePath, survey.unitsPastEnd.size(),
                                                survey.pilotsPastEnd.size(),
                                                survey.weaponsPastEnd));
    return true;
}

void MainWindow::saveCurrentPage() {
    auto* current = qobject_cast<EditorPage*>(m_pageSet->currentWidget());
    if (current != nullptr && hasImage())
        current->saveEdits();
}

bool MainWindow::anyUnsavedEdits() const {
    return std::any_of(m_pages.begin(), m_pages.end(),
                       [](const EditorPage* page) { return page->hasUnsavedEdits(); });
}

bool MainWindow::mayDropEdits() {
    if (!anyUnsavedEdits())
        return true;
    switch (messagePresenter().ask(this, messages::unsavedEdits())) {
    case EditsChoice::Save:
        for (EditorPage* page : m_pages) {
            if (page->hasUnsavedEdits() && !page->saveEdits()) {
                m_pageSet->setCurrentWidget(page);
                return false;
            }
        }
        return true;
    case EditsChoice::Discard:
        return true;
    case EditsChoice::Cancel:
        break;
    }
    return false;
}

void MainWindow::showNoImage() {
    m_survey.reset();
    m_imagePath.clear();
    for (EditorPage* page : m_pages)
        page->setEnabled(false);
    setWindowTitle(kTitle);
    m_imageStatus->setText(
        QStringLiteral("이미지가 없습니다. 파일 → 열기(Ctrl+O)로 이미지를 여십시오."));
    m_saveStatus->clear();
}

void MainWindow::showImage(const QString& path, const ImageSurvey& survey) {
    m_survey = survey;
    m_imagePath = path;
    const QString readOnly = survey.writable ? QString() : QStringLiteral(" [읽기 전용]");
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*]") + readOnly +
                   QStringLiteral(" - ") + kTitle);
    QStringList parts{path, byteCount(survey.size), codesText(survey)};
    if (!survey.writable)
        parts << QStringLiteral("읽기 전용");
    m_imageStatus->setText(parts.join(QStringLiteral(" · ")));
    showEditState();
}

void MainWindow::showEditState() {
    bool unsaved = false;
    for (int tab = 0; tab < m_pageSet->count(); ++tab) {
        const bool edited = m_pages[static_cast<std::size_t>(tab)]->hasUnsavedEdits();
        unsaved = unsaved || edited;
        m_pageSet->setTabText(tab, QString::fromUtf8(kPages[tab].tabTitle) +
                                       (edited ? kUnsavedMark : QString()));
    }
    setWindowModified(unsaved && hasImage());
}

void MainWindow::showSave(const SaveOutcome& outcome) {
    QString text = outcome.when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" '") +
                   outcome.what + QStringLiteral("' ");
    if (outcome.report.bytesChanged == 0) {
        text += QStringLiteral("저장: 바뀐 바이트 없음");
    } else {
        text += QStringLiteral("저장: ") + byteCount(static_cast<std::int64_t>(outcome.report.bytesChanged));
        if (outcome.report.codeBytesWritten > 0)
            text += QStringLiteral(" (섹터 코드 %1바이트 포함)").arg(outcome.report.codeBytesWritten);
    }
    if (!outcome.report.staleSectors.empty())
        text += QStringLiteral(", 코드가 맞지 않는 섹터 ") +
                QString::fromStdString(patch::describeSectors(outcome.report.staleSectors));
    m_saveStatus->setText(text);
}

void MainWindow::reloadPages() {
    if (m_pages.front()->imageSession().imagePath.empty())
        return;
    for (EditorPage* page : m_pages)
        page->reloadFromImage();
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
    else if (key == Qt::Key_S)
        saveCurrentPage();
    else if (key == Qt::Key_X)
        close();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    handleKeyDown(event->key());
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayDropEdits()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedImage(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const auto image = droppedImage(event->mimeData());
    if (!image)
        return;
    event->acceptProposedAction();
    openImagePath(*image);
}

} // namespace starfall
