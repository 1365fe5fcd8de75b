#include "pilot/CCharDlgPage.h"

#include "app/CoreErrorReport.h"
#include "app/MessagePresenter.h"
#include "app/PageOwner.h"
#include "image/Cp949.h"
#include "image/Messages.h"
#include "lists/NameListReader.h"
#include "pilot/PilotRecordFile.h"
#include "pilot/PilotText.h"
#include "pilot/SkillTableLayout.h"
#include "pilot/SpinButtons.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace starfall {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isOwnerShortcut(const QKeyEvent* key) {
    return key->modifiers().testFlag(Qt::ControlModifier) &&
           (key->key() == Qt::Key_O || key->key() == Qt::Key_X);
}

} // namespace

CCharDlgPage::CCharDlgPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("pilotPage"));
    m_ui.build(this);
    m_values.record.kind = PilotRecordKind::Full;
    m_ui.refresh(m_values);
    m_ui.enableFor(PilotRecordKind::Full);
    m_ui.enableButtons(false);
    connectControls();
    watchKeys();
}

void CCharDlgPage::connectControls() {
    connect(m_ui.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCharDlgPage::onSelectionChanged);
    connect(m_ui.go, &QPushButton::clicked, this, &CCharDlgPage::searchPilot);
    connect(m_ui.ok, &QPushButton::clicked, this, &CCharDlgPage::savePilotRecord);
    connect(m_ui.cancel, &QPushButton::clicked, this, &CCharDlgPage::reloadFromImage);
    connect(m_ui.skillTable, &QPushButton::clicked, this, &CCharDlgPage::openSkillTable);
    for (std::size_t i = 0; i < m_ui.spirits.size(); ++i) {
        const int row = static_cast<int>(i);
        connect(m_ui.spirits[i].spin, &SpinButtons::stepped, this,
                [this, row](StepDirection direction) { stepSpiritLevel(row, direction); });
    }
}

// Every control's key presses pass the page first (see eventFilter).
void CCharDlgPage::watchKeys() {
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

void CCharDlgPage::setSkillDialogOpener(SkillDialogOpener opener) {
    m_openSkillDialog = std::move(opener);
}

void CCharDlgPage::setTraceSink(std::function<void(std::string_view)> sink) {
    m_trace = std::move(sink);
}

void CCharDlgPage::rebuildList() {
    m_listChangesLoad = false;
    m_list = {};
    m_selected.reset();
    m_ui.fillList(m_list);
    m_ui.enableButtons(false);
    m_listChangesLoad = true;
    runReportingErrors(
        this, [this] { m_list = loadNameList(imageSession().programDirectory, ListKind::Pilots); });
    m_listChangesLoad = false;
    m_ui.fillList(m_list);
    m_listChangesLoad = true;
    if (!m_list.entries.empty())
        m_ui.list->selectionModel()->select(m_ui.list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    // The search box keeps its text until the next load refreshes it.
    m_values.searchText.clear();
    m_search.reset();
}

void CCharDlgPage::onSelectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    if (!m_listChangesLoad)
        return;
    // An item losing its selection is a change of that item too: a click on
    // the empty part of the list reloads the pilot shown.
    const QModelIndexList gained = selected.indexes();
    const QModelIndexList lost = deselected.indexes();
    if (!gained.isEmpty())
        selectPilot(gained.first().row());
    else if (!lost.isEmpty())
        selectPilot(lost.first().row());
}

void CCharDlgPage::selectPilot(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_list.entries.size())
        return;
    m_selected = static_cast<std::size_t>(row);
    m_ui.enableButtons(true);
    loadSelected();
}

void CCharDlgPage::loadSelected() {
    if (!m_selected)
        return;
    const PilotReference reference = PilotReference::fromList(m_list, *m_selected);
    m_ui.name->setText(displayName(reference.name));
    if (m_trace)
        m_trace(messages::pilotTrace(reference.name, reference.position));
    m_ui.enableFor(classifyPilotRecord(reference.address));
    // A copy: the shown values must survive a load that fails.
    runReportingErrors(this, [&] {
        m_values.record = loadPilotRecord(imageSession().imagePath, reference, m_values.record);
    });
    m_ui.refresh(m_values);
}

void CCharDlgPage::reloadFromImage() {
    loadSelected();
}

void CCharDlgPage::savePilotRecord() {
    m_ui.take(m_values);
    if (!m_selected)
        return;
    const PilotReference reference = PilotReference::fromList(m_list, *m_selected);
    const bool saved = runReportingErrors(this, [&] {
        starfall::savePilotRecord(imageSession().imagePath, reference, m_values.record);
    });
    if (saved)
        messagePresenter().show(this, messages::saveDone());
}

void CCharDlgPage::searchPilot() {
    m_ui.take(m_values);
    const auto hit = m_search.next(cp949::fromUtf8(m_values.searchText), m_list);
    if (hit) {
        const QModelIndex index = m_ui.list->model()->index(static_cast<int>(*hit), 0);
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

void CCharDlgPage::openSkillTable() {
    if (!m_selected)
        return;
    const PilotReference reference = PilotReference::fromList(m_list, *m_selected);
    const SkillDialogRequest request{imageSession().imagePath, reference.name,
                                     skillTablePosition(reference.name, reference.position)};
    if (m_openSkillDialog)
        m_openSkillDialog(this, request);
    else
        runSkillDialog(this, request);
}

void CCharDlgPage::stepSpiritLevel(int row, StepDirection direction) {
    m_ui.take(m_values);
    std::string& level = m_values.record.spirits.at(static_cast<std::size_t>(row)).level;
    level = stepLearnLevel(level, direction);
    m_ui.refresh(m_values);
}

// Enter never presses anything on this page, and starts the search in the
// search box. Ctrl+O and Ctrl+X reach the main window first, then the control
// handles them as it would (a line edit still cuts on Ctrl+X).
bool CCharDlgPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || m_redelivering)
        return EditorPage::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (isEnter(key)) {
        if (watched == m_ui.search)
            searchPilot();
        key->accept();
        return true;
    }
    if (isOwnerShortcut(key) && owner() != nullptr) {
        owner()->handleKeyDown(key->key());
        m_redelivering = true;
        QCoreApplication::sendEvent(watched, key);
        m_redelivering = false;
        key->accept();
        return true;
    }
    return false;
}

void CCharDlgPage::keyPressEvent(QKeyEvent* event) {
    // A shortcut handed back to its control after the owner had it: it must
    // not travel on to the owner a second time.
    if (m_redelivering || isEnter(event)) {
        event->accept();
        return;
    }
    EditorPage::keyPressEvent(event);
}

} // namespace starfall
