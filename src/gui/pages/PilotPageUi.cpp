#include "gui/pages/PilotPageUi.h"

#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/ControlLabels.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/StepEdit.h"
#include "gui/widgets/TerrainGroup.h"
#include "core/pilot/PilotFieldCodecs.h"
#include "core/codec/TerrainRank.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <span>

namespace starfall {

namespace {

constexpr int kNameColumnWidth = 110;

// A label to the left of its control, its buddy.
void addLabelled(QGridLayout* grid, int row, int column, const char* text, QWidget* control) {
    grid->addWidget(captionFor(QString::fromUtf8(text), control), row, column);
    grid->addWidget(control, row, column + 1);
}

QLabel* heading(const char* text, const char* objectName, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void setEnabled(std::span<QWidget* const> controls, bool enabled) {
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

} // namespace

void PilotPageUi::build(QWidget* page) {
    auto* listGroup = new QGroupBox(QStringLiteral("人物列表"), page);
    listGroup->setObjectName(QStringLiteral("pilotListGroup"));
    const SearchRow searchRow = makeSearchRow(listGroup);
    search = searchRow.box;
    go = searchRow.go;
    names = new NameListModel({QStringLiteral("캐릭터 이름"), QStringLiteral("캐릭터 주소")}, page);
    list = makeNameListView({QStringLiteral("pilotList"), listGroup->title(), kNameColumnWidth},
                            names, listGroup);
    auto* left = new QVBoxLayout(listGroup);
    left->addLayout(searchRow.layout);
    left->addWidget(list, 1);

    name = recordNameLabel(page);

    auto* stats = new QGridLayout;
    struct StatRow {
        DigitsEdit** edit;
        const char* objectName;
        const char* label;
    };
    const StatRow statRows[] = {
        {&melee, "meleeEdit", "格斗"},     {&shooting, "shootingEdit", "射击"},
        {&evasion, "evasionEdit", "回避"}, {&hit, "hitEdit", "命中"},
        {&skill, "skillEdit", "技量"},     {&reaction, "reactionEdit", "反应"}};
    int row = 0;
    for (const StatRow& stat : statRows) {
        *stat.edit = new DigitsEdit(QString::fromLatin1(stat.objectName), page);
        addLabelled(stats, row++, 0, stat.label, *stat.edit);
    }

    TerrainCombos terrain{};
    QGroupBox* terrainGroup =
        makeTerrainGroup(QStringLiteral("地形适性"), QStringLiteral("terrainGroup"),
                         TerrainRank::kItems, terrain, page);
    air = terrain[0];
    space = terrain[1];
    land = terrain[2];
    sea = terrain[3];

    auto* middle = new QVBoxLayout;
    middle->addWidget(name);
    middle->addLayout(stats);
    middle->addStretch();
    middle->addWidget(terrainGroup);

    auto* spiritGroup = new QGroupBox(QStringLiteral("精神列表"), page);
    spiritGroup->setObjectName(QStringLiteral("spiritGroup"));
    auto* spiritGrid = new QGridLayout(spiritGroup);
    spiritGrid->addWidget(heading("精神", "spiritHeader", spiritGroup), 0, 0);
    spiritGrid->addWidget(heading("习得等级", "learnLevelHeader", spiritGroup), 0, 1);
    for (std::size_t i = 0; i < spirits.size(); ++i) {
        const QString number = QString::number(i + 1);
        SpiritRowControls& spirit = spirits[i];
        spirit.command = new ChoiceCombo(QStringLiteral("spiritCommand") + number,
                                         SpiritCommand::kItems, spiritGroup);
        nameRow(spirit.command, QStringLiteral("精神 ") + number);
        spirit.level = new StepEdit(QStringLiteral("learnLevel") + number, StepEdit::Byte::Unsigned,
                                    spiritGroup);
        nameRow(spirit.level, QStringLiteral("习得等级 ") + number);
        const int gridRow = static_cast<int>(i) + 1;
        spiritGrid->addWidget(spirit.command, gridRow, 0);
        spiritGrid->addWidget(spirit.level, gridRow, 1);
    }

    skillTable = pageButton("技能列表", "skillTableButton", page);
    skillTable->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    auto* spiritRow = new QHBoxLayout;
    spiritRow->addWidget(spiritGroup);
    spiritRow->addWidget(skillTable);

    auto* extras = new QGridLayout;
    spiritPoints = new DigitsEdit(QStringLiteral("spiritPointsEdit"), page);
    personality = new ChoiceCombo(QStringLiteral("personalityList"), Personality::kItems, page);
    addLabelled(extras, 0, 0, "SP", spiritPoints);
    addLabelled(extras, 1, 0, "性格", personality);
    extras->setColumnStretch(2, 1);

    cancel = pageButton("取消", "cancelButton", page);
    ok = pageButton("确定", "okButton", page);

    auto* right = new QVBoxLayout;
    right->addLayout(spiritRow);
    right->addLayout(extras);
    right->addStretch();
    right->addLayout(buttonRow(cancel, ok));

    auto* columns = new QHBoxLayout(page);
    columns->addWidget(listGroup);
    columns->addLayout(middle);
    columns->addLayout(right, 1);
}

void PilotPageUi::take(PilotPageValues& values) const {
    PilotStats& stats = values.record.stats;
    stats.melee = melee->text().toStdString();
    stats.shooting = shooting->text().toStdString();
    stats.evasion = evasion->text().toStdString();
    stats.hit = hit->text().toStdString();
    stats.skill = skill->text().toStdString();
    stats.reaction = reaction->text().toStdString();
    stats.spiritPoints = spiritPoints->text().toStdString();
    stats.air = air->choice();
    stats.space = space->choice();
    stats.land = land->choice();
    stats.sea = sea->choice();
    for (std::size_t i = 0; i < spirits.size(); ++i) {
        values.record.spirits[i].command = spirits[i].command->choice();
        values.record.spirits[i].level = spirits[i].level->value().toStdString();
    }
    values.record.personality = personality->choice();
    values.searchText = search->text().toStdString();
}

void PilotPageUi::refresh(const PilotPageValues& values) const {
    const PilotStats& stats = values.record.stats;
    melee->showText(QString::fromStdString(stats.melee));
    shooting->showText(QString::fromStdString(stats.shooting));
    evasion->showText(QString::fromStdString(stats.evasion));
    hit->showText(QString::fromStdString(stats.hit));
    skill->showText(QString::fromStdString(stats.skill));
    reaction->showText(QString::fromStdString(stats.reaction));
    spiritPoints->showText(QString::fromStdString(stats.spiritPoints));
    air->showChoice(stats.air);
    space->showChoice(stats.space);
    land->showChoice(stats.land);
    sea->showChoice(stats.sea);
    for (std::size_t i = 0; i < spirits.size(); ++i) {
        spirits[i].command->showChoice(values.record.spirits[i].command);
        spirits[i].level->showText(QString::fromStdString(values.record.spirits[i].level));
    }
    personality->showChoice(values.record.personality);
    search->setText(QString::fromStdString(values.searchText));
}

void PilotPageUi::enableFor(PilotRecordKind kind) const {
    QWidget* const statControls[] = {melee, shooting, evasion, hit, skill,        reaction,
                                     air,   space,    land,    sea, spiritPoints, personality};
    setEnabled(statControls, hasStatBlock(kind));
    for (const SpiritRowControls& spirit : spirits) {
        QWidget* const row[] = {spirit.command, spirit.level};
        setEnabled(row, hasSpiritBlock(kind));
    }
    skillTable->setEnabled(opensSkillTable(kind));
}

void PilotPageUi::enableButtons(bool enabled) const {
    QWidget* const buttons[] = {skillTable, cancel, ok};
    setEnabled(buttons, enabled);
}

} // namespace starfall
