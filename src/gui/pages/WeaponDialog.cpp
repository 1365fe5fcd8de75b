#include "gui/pages/WeaponDialog.h"

#include "core/codec/TextNumbers.h"
#include "core/io/ProgramDirectory.h"
#include "core/lists/ImageSurvey.h"
#include "core/lists/ListFiles.h"
#include "core/lists/ListFolders.h"
#include "core/text/Messages.h"
#include "core/text/TraceLines.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponFieldStep.h"
#include "core/weapon/WeaponFields.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/RecordSave.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/StepEdit.h"

#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <set>

namespace starfall {

namespace {

std::set<int> rowsOf(const QItemSelection& selection) {
    std::set<int> rows;
    for (const QModelIndex& index : selection.indexes())
        rows.insert(index.row());
    return rows;
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void runWeaponEditor(QWidget* parent, const WeaponHandOver& handOver,
                     WeaponDialogServices services) {
    WeaponDialog dialog(handOver, std::move(services), parent);
    dialog.exec();
}

WeaponDialog::WeaponDialog(WeaponHandOver handOver, WeaponDialogServices services, QWidget* parent)
    : QDialog(parent), m_handOver(std::move(handOver)), m_services(std::move(services)) {
    setObjectName(QStringLiteral("weaponDialog"));
    setWindowTitle(QStringLiteral("武器"));
    setModal(true);
    m_ui.build(this);
    connect(m_ui.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &WeaponDialog::onListSelectionChanged);
    connect(m_ui.ok, &QPushButton::clicked, this, &WeaponDialog::saveWeapon);
    connect(m_ui.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui.hit, &StepEdit::stepped, this, &WeaponDialog::stepHit);
    connect(m_ui.rangeNear, &StepEdit::stepped, this, &WeaponDialog::stepRangeNear);
    connect(m_ui.rangeFar, &StepEdit::stepped, this, &WeaponDialog::stepRangeFar);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    fixDialogFrame(this);

    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, &WeaponDialog::onEdited);
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::currentIndexChanged, this, &WeaponDialog::onEdited);
    if (!m_handOver.writable)
        m_ui.ok->setToolTip(readOnlySaveTip());

    buildWeaponList();
    m_ui.ok->setEnabled(false);
    if (m_ui.weapons->rowCount() > 0) {
        m_ui.list->selectionModel()->select(m_ui.weapons->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    }
    m_ui.list->setFocus();
}

void WeaponDialog::buildWeaponList() {
    m_ui.name->setText(displayName(m_handOver.nameCp949));
    const std::string directory =
        m_services.programDirectory ? m_services.programDirectory() : programDirectory();
    std::vector<NamedWeapon> weapons;
    runReportingErrors(this, [&] {
        weapons =
            loadNamedWeaponList(m_handOver.imagePath, m_handOver.nameCp949, m_handOver.addressText,
                                m_handOver.listPosition,
                                listFoldersFor(directory, m_handOver.imagePath)
                                    .pathOf(kWeaponNamesFile));
    });
    NameList list;
    list.entries.reserve(weapons.size());
    for (const NamedWeapon& weapon : weapons)
        list.entries.push_back({weapon.name, std::to_string(weapon.number)});
    m_ui.weapons->setList(std::move(list));
    m_ui.weapons->setPastEndRows(weaponRowsPastEnd(
        weapons, QFileInfo(QString::fromStdString(m_handOver.imagePath)).size()));
}

void WeaponDialog::onListSelectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
    if (m_keepingSelection)
        return;
    if (!mayLeaveWeapon()) {
        m_keepingSelection = true;
        m_ui.list->selectionModel()->setCurrentIndex(
            m_ui.weapons->index(m_currentRow, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_keepingSelection = false;
        return;
    }
    for (const int row : rowsOf(deselected))
        makeCurrent(row);
    for (const int row : rowsOf(selected))
        makeCurrent(row);
}

void WeaponDialog::makeCurrent(int row) {
    if (row < 0 || row >= m_ui.weapons->rowCount())
        return;
    m_currentRow = row;
    loadWeapon();
    m_ui.ok->setEnabled(m_handOver.writable);
}

WeaponRecord WeaponDialog::shownRecord() const {
    WeaponRecord shown = m_record;
    m_ui.take(shown);
    return shown;
}

bool WeaponDialog::hasUnsavedEdits() const {
    return m_currentRow >= 0 && shownRecord() != m_clean;
}

void WeaponDialog::noteClean() {
    m_clean = shownRecord();
}

void WeaponDialog::onEdited() {
    if (hasUnsavedEdits())
        m_ui.savedNotice->clear();
}

bool WeaponDialog::mayLeaveWeapon() {
    if (!hasUnsavedEdits())
        return true;
    switch (messagePresenter().ask(this, messages::unsavedEdits())) {
    case EditsChoice::Save:
        return saveWeapon();
    case EditsChoice::Discard:
        loadWeapon();
        return true;
    case EditsChoice::Cancel:
        break;
    }
    return false;
}

void WeaponDialog::reject() {
    if (mayLeaveWeapon())
        QDialog::reject();
}

QWidget* WeaponDialog::controlFor(std::string_view key) const {
    const KeyedControl controls[] = {
        {"attack", m_ui.attack},         {"hit", m_ui.hit},       {"range_near", m_ui.rangeNear},
        {"range_far", m_ui.rangeFar},    {"ammo", m_ui.ammo},     {"en", m_ui.en},
        {"morale", m_ui.morale}};
    return controlForKey(controls, key);
}

int WeaponDialog::currentNumber() const {
    return m_ui.weapons->list().entries[static_cast<std::size_t>(m_currentRow)].address();
}

void WeaponDialog::loadWeapon() {
    const int number = currentNumber();
    if (m_services.trace)
        m_services.trace(messages::weaponTrace(weaponRecordPosition(number)));
    runReportingErrors(this, [&] { m_record = loadWeaponRecord(m_handOver.imagePath, number); });
    m_ui.refresh(m_record);
    m_ui.savedNotice->clear();
    noteClean();
    update();
}

bool WeaponDialog::saveWeapon() {
    if (m_currentRow < 0)
        return false;
    m_ui.take(m_record);
    if (refusesRange(this, weaponLayout(), m_record,
                     [this](std::string_view key) { return controlFor(key); }))
        return false;
    const int number = currentNumber();
    const QString what = m_ui.weapons->index(m_currentRow, 0).data().toString();
    const bool saved = runSave({this, m_handOver.imagePath, what, readPastEnd(m_record.loaded)},
                               [&](CodeRule codes) {
                                   return saveWeaponRecord(m_handOver.imagePath, number, m_record,
                                                           codes);
                               });
    if (saved) {
        noteClean();
        m_ui.savedNotice->setText(QString::fromStdString(messages::saveDone().text));
    }
    return saved;
}

// The hit step works on the hit field alone; the range steps take and show all.
void WeaponDialog::stepHit(StepDirection direction) {
    m_ui.hit->showText(
        QString::fromStdString(stepWeaponHit(m_ui.hit->value().toStdString(), direction)));
    update();
}

void WeaponDialog::stepRange(std::string& text, StepDirection direction) {
    m_ui.take(m_record);
    text = stepWeaponRange(text, direction);
    m_ui.refresh(m_record);
}

void WeaponDialog::stepRangeNear(StepDirection direction) {
    stepRange(m_record.rangeNear, direction);
}

void WeaponDialog::stepRangeFar(StepDirection direction) {
    stepRange(m_record.rangeFar, direction);
}

// Enter neither saves nor closes, wherever it is typed.
bool WeaponDialog::eventFilter(QObject* watched, QEvent* event) {
    return isEnter(event) || QDialog::eventFilter(watched, event);
}

void WeaponDialog::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace starfall
