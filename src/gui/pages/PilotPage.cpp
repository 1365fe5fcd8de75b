#include "gui/pages/PilotPage.h"

#include "core/codec/Cp949.h"
#include "core/lists/NameListReader.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/skill/SkillTableLayout.h"
#include "core/text/Messages.h"
#include "core/text/TraceLines.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/RecordSave.h"
#include "gui/widgets/StepEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace starfall {

PilotPage::PilotPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("pilotPage"));
    m_ui.build(this);
    m_values.record.kind = PilotRecordKind::Full;
    m_ui.refresh(m_values);
    m_ui.enableFor(PilotRecordKind::Full);
    connectControls();
    watchKeys(m_ui.search, [this] { searchPilot(); });
    setSaveButtons({m_ui.ok});
    enableButtons(false);
    watchEdits();
}

void PilotPage::enableButtons(bool enabled) {
    m_ui.enableButtons(enabled);
    enableSave(m_ui.ok, enabled);
}

PilotRecord PilotPage::shownRecord() const {
    PilotPageValues shown = m_values;
    m_ui.take(shown);
    return shown.record;
}

bool PilotPage::hasUnsavedEdits() const {
    return m_selected.has_value() && shownRecord() != m_clean;
}

void PilotPage::noteClean() {
    m_clean = shownRecord();
    noteEditState();
}

void PilotPage::markPastEnd(const std::vector<std::size_t>& rows) {
    m_ui.names->setPastEndRows(rows);
}

QWidget* PilotPage::controlFor(std::string_view key) const {
    const KeyedControl controls[] = {
        {"melee", m_ui.melee},     {"shooting", m_ui.shooting}, {"hit", m_ui.hit},
        {"evasion", m_ui.evasion}, {"sp", m_ui.spiritPoints},    {"skill", m_ui.skill},
        {"reaction", m_ui.reaction}};
    if (QWidget* control = controlForKey(controls, key))
        return control;
    for (std::size_t i = 0; i < m_ui.spirits.size(); ++i) {
        if (key == "spirits." + std::to_string(i + 1) + ".level")
            return m_ui.spirits[i].level;
    }
    return nullptr;
}

void PilotPage::connectControls() {
    connect(m_ui.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PilotPage::onSelectionChanged);
    connect(m_ui.go, &QPushButton::clicked, this, &PilotPage::searchPilot);
    connect(m_ui.ok, &QPushButton::clicked, this, &PilotPage::savePilotRecord);
    connect(m_ui.cancel, &QPushButton::clicked, this, &PilotPage::reloadFromImage);
    connect(m_ui.skillTable, &QPushButton::clicked, this, &PilotPage::openSkillTable);
    for (std::size_t i = 0; i < m_ui.spirits.size(); ++i) {
        const int row = static_cast<int>(i);
        connect(m_ui.spirits[i].level, &StepEdit::stepped, this,
                [this, row](StepDirection direction) { stepSpiritLevel(row, direction); });
    }
}

void PilotPage::setSkillDialogOpener(SkillDialogOpener opener) {
    m_openSkillDialog = std::move(opener);
}

const NameList& PilotPage::nameList() const {
    return m_ui.names->list();
}

void PilotPage::openImage(const ImageSession& session) {
    setImageSession(session);
    rebuildList();
}

void PilotPage::showList(NameList list) {
    m_listChangesLoad = false;
    m_ui.names->setList(std::move(list));
    m_listChangesLoad = true;
}

void PilotPage::rebuildList() {
    showList({});
    m_selected.reset();
    enableButtons(false);
    NameList list;
    runReportingErrors(
        this, [&] { list = takeSessionList(ListKind::Pilots); });
    showList(std::move(list));
    if (m_ui.names->rowCount() > 0)
        m_ui.list->selectionModel()->select(m_ui.names->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    // The search box keeps its text until the next load refreshes it.
    m_values.searchText.clear();
    m_search.reset();
}

void PilotPage::onSelectionChanged(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
    if (!m_listChangesLoad)
        return;
    if (!mayLeaveRecord()) {
        keepSelection();
        return;
    }
    // An item losing its selection is a change of that item too: a click on
    // the empty part of the list reloads the pilot shown.
    const QModelIndexList gained = selected.indexes();
    const QModelIndexList lost = deselected.indexes();
    if (!gained.isEmpty())
        selectPilot(gained.first().row());
    else if (!lost.isEmpty())
        selectPilot(lost.first().row());
}

void PilotPage::selectPilot(int row) {
    if (row < 0 || row >= m_ui.names->rowCount())
        return;
    m_selected = static_cast<std::size_t>(row);
    enableButtons(true);
    loadSelected();
}

void PilotPage::keepSelection() {
    m_listChangesLoad = false;
    if (m_selected)
        m_ui.list->selectionModel()->setCurrentIndex(
            m_ui.names->index(static_cast<int>(*m_selected), 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_listChangesLoad = true;
}

void PilotPage::loadSelected() {
    if (!m_selected)
        return;
    const PilotReference reference = PilotReference::fromList(nameList(), *m_selected);
    m_ui.name->setText(displayName(reference.name));
    trace(messages::pilotTrace(reference.name, reference.position));
    m_ui.enableFor(classifyPilotRecord(reference.address));
    // A copy: the shown values must survive a load that fails.
    runReportingErrors(this, [&] {
        m_values.record = loadPilotRecord(imageSession().imagePath, reference, m_values.record);
    });
    m_ui.refresh(m_values);
    noteClean();
}

void PilotPage::reloadFromImage() {
    loadSelected();
}

bool PilotPage::savePilotRecord() {
    m_ui.take(m_values);
    if (!m_selected)
        return false;
    if (refusesRange(this, pilotLayout(m_values.record.kind), m_values.record,
                     [this](std::string_view key) { return controlFor(key); }))
        return false;
    const PilotReference reference = PilotReference::fromList(nameList(), *m_selected);
    const bool saved = runSave(
        {this, imageSession().imagePath, m_ui.name->text(), readPastEnd(m_values.record.loaded)},
        [&](CodeRule codes) {
            return starfall::savePilotRecord(imageSession().imagePath, reference, m_values.record,
                                             codes);
        });
    if (saved)
        noteClean();
    return saved;
}

void PilotPage::searchPilot() {
    m_ui.take(m_values);
    const auto hit = m_search.next(cp949::fromUtf8(m_values.searchText), nameList());
    if (hit && !mayLeaveRecord())
        return;
    if (hit) {
        const QModelIndex index = m_ui.names->index(static_cast<int>(*hit), 0);
        m_listChangesLoad = false;
        m_ui.list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
        m_listChangesLoad = true;
        m_ui.list->scrollTo(index, QAbstractItemView::PositionAtTop);
        selectPilot(index.row());
    } else {
        messagePresenter().show(this, messages::pilotNotFound(m_values.searchText));
    }
    m_ui.search->setFocus();
}

void PilotPage::openSkillTable() {
    if (!m_selected)
        return;
    const PilotReference reference = PilotReference::fromList(nameList(), *m_selected);
    const SkillDialogRequest request{imageSession().imagePath, reference.name,
                                     skillTablePosition(reference.name, reference.position),
                                     writable()};
    if (m_openSkillDialog)
        m_openSkillDialog(this, request);
    else
        runSkillDialog(this, request);
}

void PilotPage::stepSpiritLevel(int row, StepDirection direction) {
    m_ui.take(m_values);
    std::string& level = m_values.record.spirits.at(static_cast<std::size_t>(row)).level;
    level = stepLearnLevel(level, direction);
    m_ui.refresh(m_values);
}

} // namespace starfall
