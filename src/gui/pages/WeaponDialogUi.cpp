#include "gui/pages/WeaponDialogUi.h"

#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/ControlLabels.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/StepEdit.h"

#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace starfall {

namespace {

template <typename Field> Field* addRow(QFormLayout* form, const char* label, Field* field) {
    form->addRow(captionFor(QString::fromUtf8(label), field), field);
    return field;
}

DigitsEdit* digits(const char* objectName, QWidget* parent) {
    return new DigitsEdit(QString::fromLatin1(objectName), parent);
}

} // namespace

void WeaponDialogUi::build(QDialog* dialog) {
    name = new QLabel(dialog);
    name->setObjectName(QStringLiteral("nameLabel"));
    weapons = new NameListModel({QStringLiteral("무기 이름"), QStringLiteral("무기 번호")}, dialog);
    list = makeNameListView(
        {QStringLiteral("weaponList"), QStringLiteral("무기 이름"), kNameColumnWidth}, weapons,
        dialog);

    auto* fields = new QFormLayout;
    attack = addRow(fields, "攻击力", digits("attackEdit", dialog));
    hit = addRow(fields, "命中力",
                 new StepEdit(QStringLiteral("hitEdit"), StepEdit::Byte::Signed, dialog));
    critical = addRow(fields, "会心率",
                      new ChoiceCombo(QStringLiteral("criticalCombo"), kCriticalRateItems, dialog));
    ammo = addRow(fields, "残弹", digits("ammoEdit", dialog));
    en = addRow(fields, "EN", digits("enEdit", dialog));
    morale = addRow(fields, "气力", digits("moraleEdit", dialog));
    upgradeType =
        addRow(fields, "改造类型",
               new ChoiceCombo(QStringLiteral("upgradeTypeCombo"), kUpgradeTypeItems, dialog));
    auto* range = new QGroupBox(QStringLiteral("射程"), dialog);
    range->setObjectName(QStringLiteral("rangeGroup"));
    rangeNear = new StepEdit(QStringLiteral("rangeNearEdit"), StepEdit::Byte::Unsigned, range);
    rangeNear->setAccessibleName(QStringLiteral("射程 近"));
    rangeFar = new StepEdit(QStringLiteral("rangeFarEdit"), StepEdit::Byte::Unsigned, range);
    rangeFar->setAccessibleName(QStringLiteral("射程 远"));
    auto* rangeRow = new QHBoxLayout(range);
    for (StepEdit* field : {rangeNear, rangeFar}) {
        rangeRow->addWidget(field);
        rangeRow->addWidget(new QLabel(QStringLiteral("格"), range));
    }
    rangeRow->addStretch();
    QGroupBox* terrainGroup =
        makeTerrainGroup(QStringLiteral("武器适性"), QStringLiteral("weaponTerrainGroup"),
                         kWeaponTerrainItems, terrain, dialog);

    // Created last, so that Tab reaches them after every field; in the order
    // of every page.
    cancel = pageButton("取消", "cancelButton", dialog);
    ok = pageButton("确定", "okButton", dialog);
    QHBoxLayout* buttons = buttonRow(cancel, ok);
    savedNotice = new QLabel(dialog);
    savedNotice->setObjectName(QStringLiteral("savedNotice"));
    savedNotice->setAccessibleName(QStringLiteral("저장 알림"));
    buttons->insertWidget(0, savedNotice);

    auto* left = new QVBoxLayout;
    left->addWidget(name);
    left->addWidget(list, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(range);
    right->addWidget(terrainGroup);
    right->addStretch();
    right->addLayout(buttons);
    auto* columns = new QHBoxLayout(dialog);
    columns->addLayout(left);
    columns->addLayout(right, 1);
}

void WeaponDialogUi::take(WeaponRecord& record) const {
    record.attack = attack->text().toStdString();
    record.hit = hit->value().toStdString();
    record.critical = critical->choice();
    record.upgradeType = upgradeType->choice();
    record.rangeNear = rangeNear->value().toStdString();
    record.rangeFar = rangeFar->value().toStdString();
    for (std::size_t i = 0; i < terrain.size(); ++i)
        record.terrain[i] = terrain[i]->choice();
    record.ammo = ammo->text().toStdString();
    record.en = en->text().toStdString();
    record.morale = morale->text().toStdString();
}

void WeaponDialogUi::refresh(const WeaponRecord& record) const {
    attack->showText(QString::fromStdString(record.attack));
    hit->showText(QString::fromStdString(record.hit));
    critical->showChoice(record.critical);
    upgradeType->showChoice(record.upgradeType);
    rangeNear->showText(QString::fromStdString(record.rangeNear));
    rangeFar->showText(QString::fromStdString(record.rangeFar));
    for (std::size_t i = 0; i < terrain.size(); ++i)
        terrain[i]->showChoice(record.terrain[i]);
    ammo->showText(QString::fromStdString(record.ammo));
    en->showText(QString::fromStdString(record.en));
    morale->showText(QString::fromStdString(record.morale));
}

} // namespace starfall
