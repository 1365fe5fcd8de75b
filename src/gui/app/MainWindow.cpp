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
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace starfall {

namespace {

const QString kTitle = QStringLiteral("Starfall 롬 에디터 v1.3");

struct PageEntry {
    const char* tabTitle;
    EditorPage* (*make)(QWidget* parent);
    // The survey's rows past the image's end that the page's list marks.
    std::vector<std::size_t> ImageSurvey::*pastEnd;
    // The survey's reading of the page's list file, handed to the page.
    std::optional<NameList> ImageSurvey::*listAsRead;
};

template <typename Page> EditorPage* makePage(QWidget* parent) {
    return new Page(parent);
}

// The tabs, in their order. Adding a page to the editor is adding it here.
constexpr PageEntry kPages[] = {
    {"机体", makePage<UnitPage>, &ImageSurvey::unitsPastEnd, &ImageSurvey::unitList},
    {"人物", makePage<PilotPage>, &ImageSurvey::pilotsPastEnd, &ImageSurvey::pilotList},
    {"改造", makePage<UpgradePage>, nullptr, nullptr},
};
constexpr std::size_t kPageCount = std::size(kPages);

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

MainWindow::MainWindow(QWidget* parent, PageBuild build)
    : QMainWindow(parent), m_programDirectory(programDirectory) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kTitle);
    if (build == PageBuild::AllAtOnce) {
        setWindowIcon(editorIcon());
        m_restBuilt = true;
    }
    setAcceptDrops(true);
    buildPages(build);
    buildMenus();
    m_originalComparer = new OriginalComparer(*this);
    for (EditorPage* page : m_pages)
        m_originalComparer->attachPage(*page);
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

void MainWindow::buildPages(PageBuild build) {
    m_pageSet = new QTabWidget(this);
    m_pageSet->setObjectName(QStringLiteral("pageSet"));
    const std::size_t now = build == PageBuild::AllAtOnce ? kPageCount : 1;
    for (std::size_t entry = 0; entry < kPageCount; ++entry) {
        // A tab whose page comes later holds an empty stand-in meanwhile.
        QWidget* page = entry < now ? makePage(entry) : new QWidget(m_pageSet);
        if (entry >= now)
            page->setObjectName(QStringLiteral("pageToCome%1").arg(entry));
        m_pageSet->addTab(page, QString::fromUtf8(kPages[entry].tabTitle));
    }
    m_pageSet->setCurrentIndex(kFirstTab);
    giveTabsAccessKeys(m_pageSet);
    setCentralWidget(m_pageSet);
    // A switch to a tab not yet built builds it before anything shows it.
    connect(m_pageSet, &QTabWidget::currentChanged, this, &MainWindow::buildRest);
}

EditorPage* MainWindow::makePage(std::size_t entry) {
    EditorPage* page = kPages[entry].make(m_pageSet);
    page->setOwner(this);
    page->setTraceSink(sendTrace);
    connect(page, &EditorPage::unsavedEditsChanged, this, &MainWindow::showEditState);
    m_pages.push_back(page);
    return page;
}

void MainWindow::ensureBuilt() const {
    if (!m_restBuilt)
        const_cast<MainWindow*>(this)->buildRest();
}

void MainWindow::buildRest() {
    if (m_restBuilt)
        return;
    m_restBuilt = true;
    {
        // The stand-ins give way without a notice of the tabs changing; the
        // current tab stays current.
        const QSignalBlocker quiet(m_pageSet);
        const int current = m_pageSet->currentIndex();
        while (m_pages.size() < kPageCount) {
            const std::size_t entry = m_pages.size();
            const int tab = static_cast<int>(entry);
            QWidget* standIn = m_pageSet->widget(tab);
            EditorPage* page = makePage(entry);
            m_pageSet->removeTab(tab);
            m_pageSet->insertTab(tab, page, QString::fromUtf8(kPages[entry].tabTitle));
            showTabAccessKey(m_pageSet, tab);
            delete standIn;
            readyPage(*page, entry);
            if (m_originalComparer != nullptr)
                m_originalComparer->attachPage(*page);
        }
        m_pageSet->setCurrentIndex(current);
        showEditState();
        // The front page sets the size everywhere the editor was measured;
        // should a later page ask for more room, the window grows by that.
        const QSize more = (m_pageSet->sizeHint() - m_pageSet->size()).expandedTo(QSize(0, 0));
        if (centralWidget() == m_pageSet && !more.isNull())
            setFixedSize(size() + more);
    }
    setWindowIcon(editorIcon());
    rememberOpenedImage();
    Q_EMIT restBuiltNow();
}

// The settings are written, and flushed to disk, after the first paint.
void MainWindow::rememberOpenedImage() {
    if (m_imageToRemember.isEmpty())
        return;
    settings::rememberImage(m_imageToRemember);
    m_imageToRemember.clear();
    refreshRecentMenu();
}

void MainWindow::readyPage(EditorPage& page, std::size_t entry) {
    page.setEnabled(hasImage());
    if (!hasImage())
        return;
    page.setWritable(m_survey->writable);
    if (kPages[entry].listAsRead != nullptr) {
        // Each reading is shown once: a later load reads the file again.
        std::optional<NameList>& list = (*m_survey).*kPages[entry].listAsRead;
        if (list)
            page.handOverList(std::move(*list));
        list.reset();
    }
    page.openImage(m_session);
    if (kPages[entry].pastEnd != nullptr)
        page.markPastEnd((*m_survey).*kPages[entry].pastEnd);
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
    ensureBuilt();
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
        buildRest();
        const bool systemReason = error.failure() == Failure::ImageOpenForLoad;
        messagePresenter().show(
            this, messages::withReason(messageFor(error), systemReason ? error.detail() : ""));
        if (!hasImage())
            showNoImage();
        return false;
    }
    m_pageSet->setCurrentIndex(kFirstTab);
    m_survey = std::move(survey);
    m_session = session;
    for (std::size_t entry = 0; entry < m_pages.size(); ++entry)
        readyPage(*m_pages[entry], entry);
    showImage(absolute, *m_survey);
    m_originalComparer->imageOpened(session);
    m_patchActions->imageOpened(session);
    m_imageToRemember = absolute;
    if (m_restBuilt)
        rememberOpenedImage();
    if (const ImageSurvey& surveyed = *m_survey; surveyed.truncated()) {
        buildRest(); // a window whose rest comes later gets it before a message
        messagePresenter().show(
            this, messages::recordsPastImageEnd(session.imagePath, surveyed.unitsPastEnd.size(),
                                                surveyed.pilotsPastEnd.size(),
                                                surveyed.weaponsPastEnd));
    }
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
    for (int tab = 0; tab < static_cast<int>(m_pages.size()); ++tab) {
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
    ensureBuilt();
    AboutDialog about(this);
    about.exec();
}

void MainWindow::handleKeyDown(int key) {
    ensureBuilt();
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

bool MainWindow::event(QEvent* event) {
    // The rest is built just after the first paint, before any input that
    // might need it is handled: the first hop lets what the paint queued
    // (its flush to the screen) go first, the second builds.
    if (event->type() == QEvent::Paint && !m_restBuilt && !m_restQueued) {
        m_restQueued = true;
        QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, &MainWindow::buildRest); });
    }
    return QMainWindow::event(event);
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
    ensureBuilt();
    const auto image = droppedImage(event->mimeData());
    if (!image)
        return;
    event->acceptProposedAction();
    openImagePath(*image);
}

} // namespace starfall
