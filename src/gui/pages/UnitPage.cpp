#include "gui/pages/UnitPage.h"

#include "core/codec/Cp949.h"
#include "core/lists/NameListReader.h"
#include "core/text/Messages.h"
#include "core/text/TraceLines.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitRecordFile.h"
#include "core/weapon/UnitWeaponList.h"
#include "gui/widgets/AbilityTickList.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/RecordSave.h"

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
    setSaveButtons({m_ui.ok});
    watchEdits();
    enableButtons(false);
}

void UnitPage::enableButtons(bool enabled) {
    m_ui.enableButtons(enabled);
    enableSave(m_ui.ok, enabled);
}

UnitRecord UnitPage::shownRecord() const {
    UnitPageValues shown = m_values;
    m_ui.take(shown);
    m_ui.takeAbilities(shown.record);
    return shown.record;
}

bool UnitPage::hasUnsavedEdits() const {
    return m_currentRow >= 0 && shownRecord() != m_clean;
}

void UnitPage::markPastEnd(const std::vector<std::size_t>& rows) {
    m_ui.names->setPastEndRows(rows);
}

QWidget* UnitPage::controlFor(std::string_view key) const {
    const KeyedControl controls[] = {
        {"hp", m_ui.hp},           {"en", m_ui.en},         {"movement", m_ui.movement},
        {"armor", m_ui.armor},     {"mobility", m_ui.mobility}, {"limit", m_ui.limit},
        {"repair_cost", m_ui.repairCost}};
    return controlForKey(controls, key);
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
    enableButtons(false);
    NameList list;
    if (!runReportingErrors(
            this, [&] { list = takeSessionList(ListKind::Units); }))
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
    m_clean = shownRecord();
    noteEditState();
}

void UnitPage::onListSelectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    if (m_filling)
        return;
    if (!mayLeaveRecord()) {
        keepSelection();
        return;
    }
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
    enableButtons(true);
}

void UnitPage::keepSelection() {
    m_filling = true;
    if (m_currentRow >= 0)
        m_ui.list->selectionModel()->setCurrentIndex(
            m_ui.names->index(m_currentRow, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_filling = false;
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
    m_clean = shownRecord();
    noteEditState();
}

void UnitPage::reloadFromImage() {
    loadCurrentUnit();
}

bool UnitPage::saveUnit() {
    if (m_currentRow < 0)
        return false;
    m_ui.take(m_values);
    m_ui.takeAbilities(m_values.record);
    if (refusesRange(this, unitLayout(), m_values.record,
                     [this](std::string_view key) { return controlFor(key); }))
        return false;
    const UnitPlace place = UnitPlace::fromList(nameList(), static_cast<std::size_t>(m_currentRow));
    const bool saved =
        runSave({this, imageSession().imagePath, m_ui.name->text(), readPastEnd(m_values.record.loaded)},
                [&](CodeRule codes) {
                    return saveUnitRecord(imageSession().imagePath, place, m_values.record, codes);
                });
    if (saved) {
        m_clean = shownRecord();
        noteEditState();
    }
    return saved;
}

void UnitPage::openWeaponEditor() {
    if (m_currentRow < 0)
        return;
    const NameListEntry& entry = nameList().entries[static_cast<std::size_t>(m_currentRow)];
    const WeaponHandOver handOver{imageSession().imagePath, entry.name, entry.addressText,
                                  unitWeaponListStart(nameList().positionOf(entry)), writable()};
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
    if (!mayLeaveRecord())
        return;
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
