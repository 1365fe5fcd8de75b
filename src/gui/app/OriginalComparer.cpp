#include "gui/app/OriginalComparer.h"

#include "core/lists/ListFolders.h"

#include "core/io/CoreError.h"
#include "core/lists/ListFiles.h"
#include "core/text/Messages.h"
#include "gui/app/FileMenuItems.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/ChangesWindow.h"
#include "gui/pages/OriginalMarks.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/PilotPageUi.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/BackgroundWork.h"
#include "gui/widgets/ImageFileDialog.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace starfall {

namespace {

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("starfall"), QStringLiteral("editor"));
}

std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Selects `row` of a page's list, which loads it, and brings it into view.
void selectRow(QTableView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->selectionModel()->select(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->scrollTo(index);
}

} // namespace

OriginalComparer::OriginalComparer(MainWindow& window) : QObject(&window), m_window(window) {
    setObjectName(QStringLiteral("originalComparer"));
    addMenuItems();
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &OriginalComparer::onImageChanged);
    m_changes = new ChangesWindow(&m_window, [this](const std::string& section,
                                                    std::size_t index) { showRecord(section, index); });
}

void OriginalComparer::attachPage(EditorPage& page) {
    if (auto* units = qobject_cast<UnitPage*>(&page)) {
        m_unitOriginal = addOriginalValuesButton(units);
        connect(m_unitOriginal, &QPushButton::clicked, this,
                [this, units] { (void)showOriginalValues(*units, pathBytes(m_original)); });
        connect(units->ui().list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &OriginalComparer::markCurrentRecords);
    }
    if (auto* pilots = qobject_cast<PilotPage*>(&page)) {
        m_pilotOriginal = addOriginalValuesButton(pilots);
        connect(m_pilotOriginal, &QPushButton::clicked, this,
                [this, pilots] { (void)showOriginalValues(*pilots, pathBytes(m_original)); });
        connect(pilots->ui().list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &OriginalComparer::markCurrentRecords);
    }
    if (m_comparison)
        applyMarks();
}

void OriginalComparer::addMenuItems() {
    const auto add = [&](const QString& text, const char* name, auto slot) {
        QAction* action = addFileMenuItem(m_window, text, name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_choose = add(QStringLiteral("원본 이미지 지정…"), "chooseOriginalAction",
                   &OriginalComparer::chooseOriginal);
    m_clear = add(QStringLiteral("원본 비교 해제"), "clearOriginalAction",
                  &OriginalComparer::clearOriginal);
    m_showChanges = add(QStringLiteral("바뀐 곳 보기"), "showChangesAction",
                        &OriginalComparer::showChanges);
    closeFileMenuGroup(m_window);
}

QString OriginalComparer::settingsKey(const std::string& imagePath) {
    return QStringLiteral("originals/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(imagePath)));
}

void OriginalComparer::imageOpened(const ImageSession& session) {
    if (!m_session.imagePath.empty())
        m_watcher->removePath(QFile::decodeName(m_session.imagePath.c_str()));
    m_session = session;
    forget();
    m_choose->setEnabled(true);
    m_watcher->addPath(QFile::decodeName(session.imagePath.c_str()));
    const QString remembered = settings()->value(settingsKey(session.imagePath)).toString();
    if (!remembered.isEmpty() && QFileInfo::exists(remembered) && acceptable(remembered)) {
        m_original = remembered;
        m_clear->setEnabled(true);
        Q_EMIT originalChanged();
        (void)refresh();
    }
}

void OriginalComparer::chooseOriginal() {
    if (const auto chosen = imageFileDialog().chooseImage(&m_window))
        (void)setOriginal(*chosen);
}

bool OriginalComparer::acceptable(const QString& path) const {
    const QFileInfo original(path);
    const QString image = QFile::decodeName(m_session.imagePath.c_str());
    const std::string shown = pathBytes(path);
    if (!original.isFile()) {
        messagePresenter().show(&m_window, messages::fileOpenFailure(shown));
        return false;
    }
    if (original.canonicalFilePath() == QFileInfo(image).canonicalFilePath()) {
        messagePresenter().show(&m_window, messages::originalIsTheImage(shown));
        return false;
    }
    if (original.size() != QFileInfo(image).size()) {
        messagePresenter().show(&m_window, messages::originalSizeDiffers(
                                               shown, original.size(), QFileInfo(image).size()));
        return false;
    }
    // Lists beside the original say which records it holds; they must be ours.
    for (const ListKind kind : {ListKind::Units, ListKind::Pilots}) {
        const QString name = QString::fromLatin1(listFileName(kind).data(),
                                                  static_cast<qsizetype>(listFileName(kind).size()));
        const QString beside = original.absoluteDir().filePath(name);
        const QString ours = QFile::decodeName(
            listFoldersFor(m_session.programDirectory, m_session.imagePath)
                .pathOf(listFileName(kind))
                .c_str());
        if (QFileInfo::exists(beside) && fileBytes(beside) != fileBytes(ours)) {
            messagePresenter().show(&m_window,
                                    messages::originalListsDiffer(shown, listFileName(kind)));
            return false;
        }
    }
    return true;
}

bool OriginalComparer::setOriginal(const QString& path) {
    if (m_session.imagePath.empty() || !acceptable(path))
        return false;
    m_original = QFileInfo(path).absoluteFilePath();
    settings()->setValue(settingsKey(m_session.imagePath), m_original);
    m_clear->setEnabled(true);
    Q_EMIT originalChanged();
    return refresh();
}

void OriginalComparer::clearOriginal() {
    if (!m_session.imagePath.empty())
        settings()->remove(settingsKey(m_session.imagePath));
    forget();
}

void OriginalComparer::forget() {
    m_original.clear();
    m_comparison.reset();
    m_clear->setEnabled(false);
    m_showChanges->setEnabled(false);
    m_changes->hide();
    applyMarks();
    Q_EMIT originalChanged();
}

bool OriginalComparer::refresh() {
    if (m_original.isEmpty() || m_comparing)
        return false;
    auto* units = m_window.page<UnitPage>();
    auto* pilots = m_window.page<PilotPage>();
    if (units == nullptr || pilots == nullptr)
        return false;
    const std::string original = pathBytes(m_original);
    const std::string image = m_session.imagePath;
    const NameList unitList = units->nameList();
    const NameList pilotList = pilots->nameList();
    std::optional<OriginalComparison> result;
    m_comparing = true;
    try {
        const WorkEnd end = runInBackground(
            &m_window, QStringLiteral("원본과 비교하는 중…"), [&](const WorkProgress& progress) {
                result = compareWithOriginal(original, image, unitList, pilotList, progress);
            });
        m_comparing = false;
        if (end == WorkEnd::Cancelled)
            return false;
    } catch (const CoreError& error) {
        m_comparing = false;
        messagePresenter().show(&m_window, messageFor(error));
        return false;
    }
    m_comparison = std::move(result);
    m_showChanges->setEnabled(true);
    m_changes->showComparison(*m_comparison);
    applyMarks();
    return true;
}

void OriginalComparer::applyMarks() {
    const bool on = m_comparison.has_value();
    if (auto* units = m_window.builtPage<UnitPage>())
        units->ui().names->setMarks(on ? m_comparison->unitChanged : std::vector<bool>{});
    if (auto* pilots = m_window.builtPage<PilotPage>())
        pilots->ui().names->setMarks(on ? m_comparison->pilotChanged : std::vector<bool>{});
    markCurrentRecords();
}

void OriginalComparer::markCurrentRecords() {
    const auto change = [this](std::string_view section,
                               std::optional<std::size_t> index) -> const RecordChange* {
        if (!m_comparison || !index)
            return nullptr;
        return m_comparison->find(section, *index);
    };
    if (auto* units = m_window.builtPage<UnitPage>()) {
        const std::optional<std::size_t> row =
            units->currentRow() < 0 ? std::nullopt
                                    : std::optional(static_cast<std::size_t>(units->currentRow()));
        const RecordChange* unit = change("units", row);
        markFields(units, unit);
        m_unitOriginal->setEnabled(unit != nullptr);
    }
    if (auto* pilots = m_window.builtPage<PilotPage>()) {
        const RecordChange* pilot = change("pilots", pilots->selectedIndex());
        markFields(pilots, pilot);
        m_pilotOriginal->setEnabled(pilot != nullptr);
    }
    if (auto* upgrade = m_window.builtPage<UpgradePage>())
        markFields(*upgrade, change("upgrade", std::size_t{0}));
}

void OriginalComparer::onImageChanged() {
    // A save rewrote the image: compare again once the save has returned.
    QTimer::singleShot(0, this, [this] {
        if (!m_session.imagePath.empty())
            m_watcher->addPath(QFile::decodeName(m_session.imagePath.c_str()));
        (void)refresh();
    });
}

void OriginalComparer::showChanges() {
    if (!m_comparison)
        return;
    m_changes->show();
    m_changes->raise();
}

void OriginalComparer::showRecord(const std::string& section, std::size_t index) {
    const int row = static_cast<int>(index);
    if (section == "units") {
        if (auto* units = m_window.page<UnitPage>()) {
            m_window.pageSet()->setCurrentWidget(units);
            selectRow(units->ui().list, row);
        }
    } else if (section == "pilots" || section == "skills") {
        if (auto* pilots = m_window.page<PilotPage>()) {
            m_window.pageSet()->setCurrentWidget(pilots);
            selectRow(pilots->ui().list, row);
        }
    } else if (section == "upgrade") {
        if (auto* upgrade = m_window.page<UpgradePage>())
            m_window.pageSet()->setCurrentWidget(upgrade);
    }
}

} // namespace starfall
