#include "unit/CWeaponDlg.h"

#include "app/CoreErrorReport.h"
#include "app/MessagePresenter.h"
#include "image/Cp949.h"
#include "image/Messages.h"
#include "image/ProgramDirectory.h"
#include "image/TextNumbers.h"
#include "lists/ListFiles.h"
#include "unit/ChoiceCombo.h"
#include "unit/TerrainGroup.h"
#include "unit/DigitKeyFilter.h"
#include "unit/StepEdit.h"
#include "unit/UnitWeaponList.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace starfall {

namespace {

// The hit spin reads no more of the field than this.
constexpr qsizetype kHitSpinChars = 9;

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::int32_t decimalOf(const QString& text) {
    return parseDecimal(utf8(text));
}

QLineEdit* digitsEdit(const char* objectName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    DigitKeyFilter::install(edit);
    return edit;
}

StepEdit* stepEdit(const char* objectName, QWidget* parent) {
    auto* edit = new StepEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    DigitKeyFilter::install(edit);
    return edit;
}

void addRow(QFormLayout* form, const char* label, QWidget* field) {
    auto* caption = new QLabel(QString::fromUtf8(label), field->parentWidget());
    caption->setBuddy(field);
    field->setAccessibleName(caption->text());
    form->addRow(caption, field);
}

std::set<int> rowsOf(const QItemSelection& selection) {
    std::set<int> rows;
    for (const QModelIndex& index : selection.indexes())
        rows.insert(index.row());
    return rows;
}

} // namespace

void runWeaponEditor(QWidget* parent, const WeaponHandOver& handOver, WeaponDlgServices services) {
    CWeaponDlg dialog(handOver, std::move(services), parent);
    dialog.exec();
}

CWeaponDlg::CWeaponDlg(WeaponHandOver handOver, WeaponDlgServices services, QWidget* parent)
    : QDialog(parent), m_handOver(std::move(handOver)), m_services(std::move(services)) {
    setObjectName(QStringLiteral("weaponDialog"));
    setWindowTitle(QStringLiteral("武器"));
    setModal(true);
    buildControls();
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    buildWeaponList();
    m_ok->setEnabled(false);
    if (m_list->rowCount() > 0) {
        m_list->selectionModel()->select(m_list->model()->index(0, 0),
                                         QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
    }
    m_list->setFocus();
}

void CWeaponDlg::buildControls() {
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("nameLabel"));

    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QStringLiteral("weaponList"));
    m_list->setAccessibleName(QStringLiteral("무기 이름"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("무기 이름"), QStringLiteral("무기 번호")});
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_list->setColumnWidth(0, kNameColumnWidth);
    m_list->setColumnHidden(1, true); // the number is there, but never seen
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CWeaponDlg::onListSelectionChanged);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_ok, &QPushButton::clicked, this, &CWeaponDlg::saveWeapon);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(m_name);
    left->addWidget(m_list, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildFields());
    right->addWidget(buildRangeGroup());
    right->addWidget(buildTerrainGroup());
    right->addStretch();
    right->addLayout(buttons);

    auto* dialog = new QHBoxLayout(this);
    dialog->addLayout(left);
    dialog->addLayout(right, 1);
}

QWidget* CWeaponDlg::buildFields() {
    auto* fields = new QWidget(this);
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    m_attack = digitsEdit("attackEdit", fields);
    addRow(form, "攻击力", m_attack);
    m_hit = stepEdit("hitEdit", fields);
    m_hit->setStepHandler([this](int direction) { stepHit(direction); });
    addRow(form, "命中力", m_hit);
    m_critical = makeChoiceCombo(kCriticalRateItems, fields);
    m_critical->setObjectName(QStringLiteral("criticalCombo"));
    addRow(form, "会心率", m_critical);
    m_ammo = digitsEdit("ammoEdit", fields);
    addRow(form, "残弹", m_ammo);
    m_en = digitsEdit("enEdit", fields);
    addRow(form, "EN", m_en);
    m_morale = digitsEdit("moraleEdit", fields);
    addRow(form, "气力", m_morale);
    m_upgradeType = makeChoiceCombo(kUpgradeTypeItems, fields);
    m_upgradeType->setObjectName(QStringLiteral("upgradeTypeCombo"));
    addRow(form, "改造类型", m_upgradeType);
    return fields;
}

QWidget* CWeaponDlg::buildRangeGroup() {
    auto* group = new QGroupBox(QStringLiteral("射程"), this);
    group->setObjectName(QStringLiteral("rangeGroup"));
    m_rangeNear = stepEdit("rangeNearEdit", group);
    m_rangeNear->setAccessibleName(QStringLiteral("射程 近"));
    m_rangeNear->setStepHandler([this](int direction) { stepRangeNear(direction); });
    m_rangeFar = stepEdit("rangeFarEdit", group);
    m_rangeFar->setAccessibleName(QStringLiteral("射程 远"));
    m_rangeFar->setStepHandler([this](int direction) { stepRangeFar(direction); });
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_rangeNear);
    row->addWidget(new QLabel(QStringLiteral("格"), group));
    row->addWidget(m_rangeFar);
    row->addWidget(new QLabel(QStringLiteral("格"), group));
    return group;
}

QWidget* CWeaponDlg::buildTerrainGroup() {
    return makeTerrainGroup(QStringLiteral("武器适性"), QStringLiteral("weaponTerrainGroup"),
                            kWeaponTerrainItems, m_terrain, this);
}

void CWeaponDlg::buildWeaponList() {
    m_name->setText(qs(cp949::toUtf8(m_handOver.nameCp949)));
    const std::string directory =
        m_services.programDirectory ? m_services.programDirectory() : programDirectory();
    std::vector<NamedWeapon> weapons;
    runReportingErrors(this, [&] {
        weapons =
            loadNamedWeaponList(m_handOver.imagePath, m_handOver.nameCp949, m_handOver.addressText,
                                m_handOver.listPosition, directory + std::string(kWeaponNamesFile));
    });
    m_list->setRowCount(static_cast<int>(weapons.size()));
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const NamedWeapon& weapon = weapons[static_cast<std::size_t>(row)];
        auto* name = new QTableWidgetItem(qs(cp949::toUtf8(weapon.name)));
        name->setTextAlignment(Qt::AlignCenter);
        auto* number = new QTableWidgetItem(QString::number(weapon.number));
        number->setTextAlignment(Qt::AlignCenter);
        m_list->setItem(row, 0, name);
        m_list->setItem(row, 1, number);
    }
}

void CWeaponDlg::onListSelectionChanged(const QItemSelection& selected,
                                        const QItemSelection& deselected) {
    for (const int row : rowsOf(deselected))
        makeCurrent(row);
    for (const int row : rowsOf(selected))
        makeCurrent(row);
}

void CWeaponDlg::makeCurrent(int row) {
    if (row < 0 || row >= m_list->rowCount())
        return;
    m_currentRow = row;
    loadWeapon();
    m_ok->setEnabled(true);
}

int CWeaponDlg::currentNumber() const {
    return decimalOf(m_list->item(m_currentRow, 1)->text());
}

void CWeaponDlg::loadWeapon() {
    const int number = currentNumber();
    if (m_services.trace)
        m_services.trace(messages::weaponTrace(weaponRecordPosition(number)));
    runReportingErrors(this, [&] { m_record = loadWeaponRecord(m_handOver.imagePath, number); });
    refreshAll();
    update();
}

void CWeaponDlg::takeAll() {
    m_record.attack = utf8(m_attack->text());
    m_record.hit = utf8(m_hit->value());
    m_record.critical =
        takeChoice(m_critical, static_cast<int>(kCriticalRateItems.size()), m_record.critical);
    m_record.upgradeType =
        takeChoice(m_upgradeType, static_cast<int>(kUpgradeTypeItems.size()), m_record.upgradeType);
    m_record.rangeNear = utf8(m_rangeNear->value());
    m_record.rangeFar = utf8(m_rangeFar->value());
    for (std::size_t i = 0; i < m_terrain.size(); ++i) {
        m_record.terrain[i] = takeChoice(m_terrain[i], static_cast<int>(kWeaponTerrainItems.size()),
                                         m_record.terrain[i]);
    }
    m_record.ammo = utf8(m_ammo->text());
    m_record.en = utf8(m_en->text());
    m_record.morale = utf8(m_morale->text());
}

void CWeaponDlg::refreshAll() {
    m_attack->setText(qs(m_record.attack));
    m_hit->setValue(qs(m_record.hit));
    showChoice(m_critical, static_cast<int>(kCriticalRateItems.size()), m_record.critical);
    showChoice(m_upgradeType, static_cast<int>(kUpgradeTypeItems.size()), m_record.upgradeType);
    m_rangeNear->setValue(qs(m_record.rangeNear));
    m_rangeFar->setValue(qs(m_record.rangeFar));
    for (std::size_t i = 0; i < m_terrain.size(); ++i)
        showChoice(m_terrain[i], static_cast<int>(kWeaponTerrainItems.size()), m_record.terrain[i]);
    m_ammo->setText(qs(m_record.ammo));
    m_en->setText(qs(m_record.en));
    m_morale->setText(qs(m_record.morale));
}

void CWeaponDlg::saveWeapon() {
    if (m_currentRow < 0)
        return;
    takeAll();
    const int number = currentNumber();
    if (runReportingErrors(this, [&] { saveWeaponRecord(m_handOver.imagePath, number, m_record); }))
        messagePresenter().show(this, messages::saveDone());
}

void CWeaponDlg::stepHit(int direction) {
    const int value = decimalOf(m_hit->value().left(kHitSpinChars));
    const int stepped = direction > 0 ? std::min(value + kHitStep, kHitLimit)
                                      : std::max(value - kHitStep, -kHitLimit);
    m_hit->setValue(QString::number(stepped));
    update();
}

void CWeaponDlg::stepRange(std::string& text, int direction) {
    takeAll();
    const int value = parseDecimal(text);
    const int stepped = direction > 0 ? std::min(value + 1, kRangeLimit) : std::max(value - 1, 1);
    text = std::to_string(stepped);
    refreshAll();
}

void CWeaponDlg::stepRangeNear(int direction) {
    stepRange(m_record.rangeNear, direction);
}

void CWeaponDlg::stepRangeFar(int direction) {
    stepRange(m_record.rangeFar, direction);
}

bool CWeaponDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true; // Enter neither saves nor closes
    }
    return QDialog::eventFilter(watched, event);
}

void CWeaponDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace starfall
