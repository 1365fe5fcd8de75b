#include "gui/pages/WeaponDialog.h"

#include "core/codec/TextNumbers.h"
#include "core/io/ProgramDirectory.h"
#include "core/lists/ListFiles.h"
#include "core/lists/ListFolders.h"
#include "core/text/Messages.h"
#include "core/text/TraceLines.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponFieldStep.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/StepEdit.h"

#include <QKeyEvent>
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
}

void WeaponDialog::onListSelectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
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
    m_ui.ok->setEnabled(true);
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
    update();
}

void WeaponDialog::saveWeapon() {
    if (m_currentRow < 0)
        return;
    m_ui.take(m_record);
    const int number = currentNumber();
    if (runReportingErrors(this, [&] { saveWeaponRecord(m_handOver.imagePath, number, m_record); }))
        messagePresenter().show(this, messages::saveDone());
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
