#include "gui/pages/UnitPageUi.h"

#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/ControlLabels.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/PageControls.h"
#include "core/codec/TerrainRank.h"
#include "gui/widgets/AbilityTickList.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace starfall {

namespace {

constexpr int kNameColumnWidth = 110;

DigitsEdit* addStat(QFormLayout* form, const char* objectName, const char* label, QWidget* parent) {
    auto* edit = new DigitsEdit(QString::fromLatin1(objectName), parent);
    form->addRow(captionFor(QString::fromUtf8(label), edit), edit);
    return edit;
}

ChoiceCombo* addChoice(QFormLayout* form, const char* objectName, const char* label,
                       std::span<const std::string_view> items, QWidget* parent) {
    auto* combo = new ChoiceCombo(QString::fromLatin1(objectName), items, parent);
    form->addRow(captionFor(QString::fromUtf8(label), combo), combo);
    return combo;
}

} // namespace

void UnitPageUi::build(QWidget* page, std::array<int, kAbilityListCount>& rememberedRows) {
    auto* listColumn = new QVBoxLayout;
    const SearchRow searchRow = makeSearchRow(page);
    search = searchRow.box;
    go = searchRow.go;
    listColumn->addLayout(searchRow.layout);
    auto* listGroup = new QGroupBox(QStringLiteral("机体列表"), page);
    listGroup->setObjectName(QStringLiteral("unitListGroup"));
    names = new NameListModel({QStringLiteral("유니트 이름"), QStringLiteral("유니트 주소")}, page);
    list = makeNameListView({QStringLiteral("unitList"), listGroup->title(), kNameColumnWidth},
                            names, listGroup);
    (new QVBoxLayout(listGroup))->addWidget(list);
    listColumn->addWidget(listGroup, 1);

    name = recordNameLabel(page);
    auto* form = new QFormLayout;
    hp = addStat(form, "hpEdit", "HP", page);
    en = addStat(form, "enEdit", "EN", page);
    movement = addStat(form, "movementEdit", "移动", page);
    armor = addStat(form, "armorEdit", "装甲", page);
    mobility = addStat(form, "mobilityEdit", "运动性", page);
    limit = addStat(form, "limitEdit", "界限", page);
    partsSlots = addChoice(form, "partsSlotsCombo", "芯片数", kPartsSlotItems, page);
    movementType = addChoice(form, "movementTypeCombo", "移动类型", kMovementTypeItems, page);
    repairCost = addStat(form, "repairCostEdit", "修理费", page);
    auto* recordColumn = new QVBoxLayout;
    recordColumn->addWidget(name);
    recordColumn->addLayout(form);
    recordColumn->addWidget(makeTerrainGroup(QStringLiteral("地形适性"),
                                             QStringLiteral("terrainGroup"), TerrainRank::kItems,
                                             terrain, page));
    recordColumn->addStretch();

    auto* abilityGrid = new QGridLayout;
    for (int i = 0; i < kAbilityListCount; ++i) {
        const QString title = QStringLiteral("机体技能%1").arg(i + 1);
        auto* group = new QGroupBox(title, page);
        group->setObjectName(QStringLiteral("abilityGroup%1").arg(i + 1));
        auto* abilities = new AbilityTickList(kUnitAbilityItems,
                                              rememberedRows[static_cast<std::size_t>(i)], group);
        abilities->setObjectName(QStringLiteral("abilityList%1").arg(i + 1));
        abilities->setAccessibleName(title);
        (new QVBoxLayout(group))->addWidget(abilities);
        // 1 above 2 on the left, 3 above 4 on the right.
        abilityGrid->addWidget(group, i % 2, i / 2);
        this->abilities[static_cast<std::size_t>(i)] = abilities;
    }
    weapons = pageButton("武器", "weaponsButton", page);
    abilityGrid->addWidget(weapons, 2, 0, 1, 2);
    cancel = pageButton("取消", "cancelButton", page);
    ok = pageButton("确定", "okButton", page);
    abilityGrid->addLayout(buttonRow(cancel, ok), 3, 0, 1, 2);

    auto* columns = new QHBoxLayout(page);
    columns->addLayout(listColumn);
    columns->addLayout(recordColumn);
    columns->addLayout(abilityGrid, 1);
}

void UnitPageUi::take(UnitPageValues& values) const {
    UnitRecord& record = values.record;
    record.hp = hp->text().toStdString();
    record.en = en->text().toStdString();
    record.movement = movement->text().toStdString();
    record.armor = armor->text().toStdString();
    record.mobility = mobility->text().toStdString();
    record.limit = limit->text().toStdString();
    record.repairCost = repairCost->text().toStdString();
    record.partsSlots = partsSlots->choice();
    record.movementType = movementType->choice();
    for (std::size_t i = 0; i < terrain.size(); ++i)
        record.terrain[i] = terrain[i]->choice();
    values.searchText = search->text().toStdString();
}

void UnitPageUi::refresh(const UnitPageValues& values) const {
    const UnitRecord& record = values.record;
    hp->showText(QString::fromStdString(record.hp));
    en->showText(QString::fromStdString(record.en));
    movement->showText(QString::fromStdString(record.movement));
    armor->showText(QString::fromStdString(record.armor));
    mobility->showText(QString::fromStdString(record.mobility));
    limit->showText(QString::fromStdString(record.limit));
    repairCost->showText(QString::fromStdString(record.repairCost));
    partsSlots->showChoice(record.partsSlots);
    movementType->showChoice(record.movementType);
    for (std::size_t i = 0; i < terrain.size(); ++i)
        terrain[i]->showChoice(record.terrain[i]);
    search->setText(QString::fromStdString(values.searchText));
}

void UnitPageUi::showAbilities(const UnitRecord& record) const {
    for (std::size_t i = 0; i < abilities.size(); ++i) {
        AbilityTickList* abilityList = abilities[i];
        abilityList->untickAll();
        const std::optional<int> code = record.abilities[i].index();
        if (code)
            abilityList->setTicked(*code, true);
        abilityList->showRow(code.value_or(0));
    }
}

void UnitPageUi::takeAbilities(UnitRecord& record) const {
    for (std::size_t i = 0; i < abilities.size(); ++i) {
        const std::optional<int> ticked = abilities[i]->highestTicked();
        if (ticked)
            record.abilities[i] = ListChoice::item(*ticked);
        else if (record.abilities[i].index())
            record.abilities[i] = ListChoice::item(0);
    }
}

void UnitPageUi::enableButtons(bool enabled) const {
    for (QPushButton* button : {weapons, cancel, ok})
        button->setEnabled(enabled);
}

} // namespace starfall
