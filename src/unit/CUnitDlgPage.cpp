#include "unit/CUnitDlgPage.h"

#include "app/CoreErrorReport.h"
#include "app/MessagePresenter.h"
#include "app/NameListView.h"
#include "image/Cp949.h"
#include "image/Messages.h"
#include "lists/NameListReader.h"
#include "unit/AbilityTickList.h"
#include "unit/UnitRecordFile.h"
#include "unit/UnitWeaponList.h"

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

CUnitDlgPage::CUnitDlgPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("unitPage"));
    m_ui.build(this, g_rememberedRows);
    connect(m_ui.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CUnitDlgPage::onListSelectionChanged);
    connect(m_ui.go, &QPushButton::clicked, this, &CUnitDlgPage::search);
    connect(m_ui.weapons, &QPushButton::clicked, this, &CUnitDlgPage::openWeaponEditor);
    connect(m_ui.cancel, &QPushButton::clicked, this, &CUnitDlgPage::reloadFromImage);
    connect(m_ui.ok, &QPushButton::clicked, this, &CUnitDlgPage::saveUnit);
    watchKeys(m_ui.search, [this] { search(); });
    m_ui.enableButtons(false);
}

const NameList& CUnitDlgPage::nameList() const {
    return m_ui.names->list();
}

AbilityTickList* CUnitDlgPage::abilityList(int list) const {
    return m_ui.abilities.at(static_cast<std::size_t>(list));
}

int CUnitDlgPage::rememberedRow(int list) {
    return g_rememberedRows.at(static_cast<std::size_t>(list));
}

void CUnitDlgPage::setWeaponEditorOpener(WeaponEditorOpener opener) {
    m_openWeaponEditor = std::move(opener);
}

void CUnitDlgPage::openImage(const ImageSession& session) {
    setImageSession(session);
    rebuildList();
}

void CUnitDlgPage::rebuildList() {
    m_filling = true; // emptying and filling the list is no notice of the page
    m_ui.names->setList({});
    m_filling = false;
    m_currentRow = -1;
    m_values.record = {};
    m_ui.name->clear();
    m_ui.enableButtons(false);
    NameList list;
    if (!runReportingErrors(
            this, [&] { list = loadNameList(imageSession().programDirectory, ListKind::Units); }))
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

void CUnitDlgPage::onListSelectionChanged(const QItemSelection& selected,
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

void CUnitDlgPage::selectUnit(int row) {
    if (row < 0 || row >= m_ui.names->rowCount())
        return;
    m_currentRow = row;
    loadCurrentUnit();
    m_ui.enableButtons(true);
}

void CUnitDlgPage::loadCurrentUnit() {
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

void CUnitDlgPage::reloadFromImage() {
    loadCurrentUnit();
}

void CUnitDlgPage::saveUnit() {
    if (m_currentRow < 0)
        return;
    m_ui.take(m_values);
    m_ui.takeAbilities(m_values.record);
    const UnitPlace place = UnitPlace::fromList(nameList(), static_cast<std::size_t>(m_currentRow));
    if (runReportingErrors(
            this, [&] { saveUnitRecord(imageSession().imagePath, place, m_values.record); }))
        messagePresenter().show(this, messages::saveDone());
}

void CUnitDlgPage::openWeaponEditor() {
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

void CUnitDlgPage::search() {
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

bool CUnitDlgPage::eventFilter(QObject* watched, QEvent* event) {
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
