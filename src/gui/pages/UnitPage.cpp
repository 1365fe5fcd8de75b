#include "gui/pages/UnitPage.h"

#include "core/codec/Cp949.h"
#include "core/lists/NameListReader.h"
#include "core/text/Messages.h"
#include "core/text/TraceLines.h"
#include "core/unit/UnitRecordFile.h"
#include "core/weapon/UnitWeaponList.h"
#include "gui/widgets/AbilityTickList.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>

#include <set>

namespace starfall {

namespace {

// The ability lists' remembered rows belong to the page class, not to a page.
std::array<int, kAbilityListCount> g_rememberedRows{};

std::set<int> rowsOf(const QItemSelection& selection) {
    std::set<int> rows;
    for (const QModelIndex& index : selection.indexes())
        rows.insert(index.row());
    return rows;
}

} // namespace

UnitPage::UnitPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("unitPage"));
    m_ui.build(this, g_rememberedRows);
    connect(m_ui.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &UnitPage::onListSelectionChanged);
    connect(m_ui.go, &QPushButton::clicked, this, &UnitPage::search);
    connect(m_ui.weapons, &QPushButton::clicked, this, &UnitPage::openWeaponEditor);
    connect(m_ui.cancel, &QPushButton::clicked, this, &UnitPage::reloadFromImage);
    connect(m_ui.ok, &QPushButton::clicked, this, &UnitPage::saveUnit);
    watchKeys(m_ui.search, [this] { search(); });
    m_ui.enableButtons(false);
}

const NameList& UnitPage::nameList() const {
    return m_ui.names->list();
}

AbilityTickList* UnitPage::abilityList(int list) const {
    return m_ui.abilities.at(static_cast<std::size_t>(list));
}

int UnitPage::rememberedRow(int list) {
    return g_rememberedRows.at(static_cast<std::size_t>(list));
}

void UnitPage::setWeaponEditorOpener(WeaponEditorOpener opener) {
    m_openWeaponEditor = std::move(opener);
}

void UnitPage::openImage(const ImageSession& session) {
    setImageSession(session);
    rebuildList();
}

void UnitPage::rebuildList() {
    m_filling = true; // emptying and filling the list is no notice of the page
    m_ui.names->setList({});
    m_filling = false;
    m_currentRow = -1;
    m_values.record = {};
    m_ui.name->clear();
    m_ui.enableButtons(false);
    NameList list;
    if (!runReportingErrors(
            this, [&] { list = loadNameList(sessionListFolders(), ListKind::Units); }))
        return;
    m_filling = true;
    m_ui.names->setList(std::move(list));
    m_filling = false;
    if (m_ui.names->rowCount() > 0) {
        m_ui.list->selectionModel()->select(m_ui.names->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    }
    m_values.searchText.clear();
    m_search.reset();
    m_ui.refresh(m_values);
}

void UnitPage::onListSelectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    if (m_filling)
        return;
    // The row losing the selection is announced before the row gaining it, so
    // a picked row ends up current; a row that only loses it is reloaded.
    for (const int row : rowsOf(deselected))
        selectUnit(row);
    for (const int row : rowsOf(selected))
        selectUnit(row);
}

void UnitPage::selectUnit(int row) {
    if (row < 0 || row >= m_ui.names->rowCount())
        return;
    m_currentRow = row;
    loadCurrentUnit();
    m_ui.enableButtons(true);
}

void UnitPage::loadCurrentUnit() {
    if (m_currentRow < 0)
        return;
    const UnitPlace place = UnitPlace::fromList(nameList(), static_cast<std::size_t>(m_currentRow));
    trace(messages::unitTrace(place.name, place.position));
    m_ui.name->setText(displayName(place.name));
    // A record the image cannot hold is reported; the page keeps what it shows.
    if (!runReportingErrors(
            this, [&] { m_values.record = loadUnitRecord(imageSession().imagePath, place); }))
        return;
    m_ui.showAbilities(m_values.record);
    m_ui.refresh(m_values);
}

void UnitPage::reloadFromImage() {
    loadCurrentUnit();
}

void UnitPage::saveUnit() {
    if (m_currentRow < 0)
        return;
    m_ui.take(m_values);
    m_ui.takeAbilities(m_values.record);
    const UnitPlace place = UnitPlace::fromList(nameList(), static_cast<std::size_t>(m_currentRow));
    if (runReportingErrors(
            this, [&] { saveUnitRecord(imageSession().imagePath, place, m_values.record); }))
        messagePresenter().show(this, messages::saveDone());
}

void UnitPage::openWeaponEditor() {
    if (m_currentRow < 0)
        return;
    const NameListEntry& entry = nameList().entries[static_cast<std::size_t>(m_currentRow)];
    const WeaponHandOver handOver{imageSession().imagePath, entry.name, entry.addressText,
                                  unitWeaponListStart(nameList().positionOf(entry))};
    if (m_openWeaponEditor)
        m_openWeaponEditor(this, handOver);
    else
        runWeaponEditor(
            this, handOver,
            {[directory = imageSession().programDirectory] { return directory; }, traceSink()});
}

void UnitPage::search() {
    m_ui.take(m_values);
    const std::optional<std::size_t> found =
        m_search.next(cp949::fromUtf8(m_values.searchText), nameList());
    if (!found) {
        messagePresenter().show(this, messages::unitNotFound(m_values.searchText));
        return;
    }
    const int row = static_cast<int>(*found);
    const QModelIndex index = m_ui.names->index(row, 0);
    m_ui.list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    m_ui.list->scrollTo(index, QAbstractItemView::PositionAtTop);
    m_currentRow = row;
    loadCurrentUnit();
    m_ui.list->viewport()->update();
}

bool UnitPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.list->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A click on empty space takes the selection away: that row's notice
        // reloads it, and it stays current.
        const auto* click = static_cast<QMouseEvent*>(event);
        if (!m_ui.list->indexAt(click->position().toPoint()).isValid()) {
            m_ui.list->selectionModel()->clearSelection();
            return true;
        }
    }
    return EditorPage::eventFilter(watched, event);
}

} // namespace starfall
