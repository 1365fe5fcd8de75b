#include "pilot/PilotPageUi.h"

#include "app/EditorPage.h"

#include "lists/NameList.h"
#include "pilot/PilotFieldCodecs.h"
#include "pilot/PilotText.h"
#include "pilot/SpinButtons.h"
#include "pilot/TerrainRank.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include <span>

namespace starfall {

namespace {

constexpr int kNameColumnWidth = 110;

QLineEdit* digitsEdit(const QString& name, QWidget* parent) {
    static const QRegularExpression digitsOnly(QStringLiteral("[0-9]*"));
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setValidator(new QRegularExpressionValidator(digitsOnly, edit));
    edit->setMaximumWidth(60);
    return edit;
}

template <std::size_t N>
QComboBox* dropDown(const QString& name, const std::array<std::string_view, N>& items,
                    QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (const std::string_view item : items)
        list->addItem(fromUtf8(item));
    list->setCurrentIndex(-1);
    return list;
}

// A label to the left of its control, named after it for assistive tools.
void addLabelled(QGridLayout* grid, int row, int column, std::string_view text, QWidget* control) {
    auto* label = new QLabel(fromUtf8(text), control->parentWidget());
    label->setObjectName(control->objectName() + QStringLiteral("Label"));
    label->setBuddy(control);
    control->setAccessibleName(label->text());
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1);
}

ListChoice choiceOf(const QComboBox* list) {
    const int index = list->currentIndex();
    return index >= 0 ? ListChoice::item(index) : ListChoice::none();
}

void show(QComboBox* list, const ListChoice& choice) {
    list->setCurrentIndex(choice.indexOr(-1));
}

std::string textOf(const QLineEdit* edit) {
    return toUtf8(edit->text());
}

void show(QLineEdit* edit, const std::string& text) {
    edit->setText(fromUtf8(text));
}

void setEnabled(std::span<QWidget* const> controls, bool enabled) {
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

QTableWidget* pilotList(QWidget* parent) {
    auto* list = new QTableWidget(0, 2, parent);
    list->setObjectName(QStringLiteral("pilotList"));
    list->setAccessibleName(QStringLiteral("人物列表"));
    list->setHorizontalHeaderLabels({QStringLiteral("캐릭터 이름"), QStringLiteral("캐릭터 주소")});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    list->horizontalHeader()->setStretchLastSection(false);
    list->setColumnWidth(0, kNameColumnWidth);
    list->setColumnHidden(1, true); // the address is there to be read, not seen
    list->verticalHeader()->hide();
    list->setShowGrid(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setMinimumWidth(kNameColumnWidth + 24);
    return list;
}

} // namespace

void PilotPageUi::build(QWidget* page) {
    auto* listGroup = new QGroupBox(QStringLiteral("人物列表"), page);
    listGroup->setObjectName(QStringLiteral("pilotListGroup"));
    search = new QLineEdit(listGroup);
    search->setObjectName(QStringLiteral("searchEdit"));
    search->setAccessibleName(QString::fromUtf8(kSearchBoxName));
    go = new QPushButton(QStringLiteral("GO"), listGroup);
    go->setObjectName(QStringLiteral("goButton"));
    list = pilotList(listGroup);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(search);
    searchRow->addWidget(go);
    auto* left = new QVBoxLayout(listGroup);
    left->addLayout(searchRow);
    left->addWidget(list);

    name = new QLabel(page);
    name->setObjectName(QStringLiteral("nameLabel"));
    name->setAlignment(Qt::AlignCenter);
    QPalette palette = name->palette();
    palette.setColor(QPalette::WindowText, QColor(70, 30, 250));
    name->setPalette(palette);

    auto* stats = new QGridLayout;
    struct StatRow {
        QLineEdit** edit;
        const char* objectName;
        std::string_view label;
    };
    const StatRow statRows[] = {
        {&melee, "meleeEdit", "格斗"},     {&shooting, "shootingEdit", "射击"},
        {&evasion, "evasionEdit", "回避"}, {&hit, "hitEdit", "命中"},
        {&skill, "skillEdit", "技量"},     {&reaction, "reactionEdit", "反应"}};
    int row = 0;
    for (const StatRow& stat : statRows) {
        *stat.edit = digitsEdit(QString::fromLatin1(stat.objectName), page);
        addLabelled(stats, row++, 0, stat.label, *stat.edit);
    }

    auto* terrainGroup = new QGroupBox(QStringLiteral("地形适性"), page);
    terrainGroup->setObjectName(QStringLiteral("terrainGroup"));
    auto* terrain = new QGridLayout(terrainGroup);
    air = dropDown(QStringLiteral("airRank"), TerrainRank::kItems, terrainGroup);
    space = dropDown(QStringLiteral("spaceRank"), TerrainRank::kItems, terrainGroup);
    land = dropDown(QStringLiteral("landRank"), TerrainRank::kItems, terrainGroup);
    sea = dropDown(QStringLiteral("seaRank"), TerrainRank::kItems, terrainGroup);
    addLabelled(terrain, 0, 0, "空", air);
    addLabelled(terrain, 0, 2, "宇", space);
    addLabelled(terrain, 1, 0, "陆", land);
    addLabelled(terrain, 1, 2, "海", sea);

    auto* middle = new QVBoxLayout;
    middle->addWidget(name);
    middle->addLayout(stats);
    middle->addStretch();
    middle->addWidget(terrainGroup);

    auto* spiritGroup = new QGroupBox(QStringLiteral("精神列表"), page);
    spiritGroup->setObjectName(QStringLiteral("spiritGroup"));
    auto* spiritGrid = new QGridLayout(spiritGroup);
    auto* commandHeader = new QLabel(QStringLiteral("精神"), spiritGroup);
    commandHeader->setObjectName(QStringLiteral("spiritHeader"));
    commandHeader->setAlignment(Qt::AlignCenter);
    auto* levelHeader = new QLabel(QStringLiteral("习得等级"), spiritGroup);
    levelHeader->setObjectName(QStringLiteral("learnLevelHeader"));
    levelHeader->setAlignment(Qt::AlignCenter);
    spiritGrid->addWidget(commandHeader, 0, 0);
    spiritGrid->addWidget(levelHeader, 0, 1, 1, 2);
    for (std::size_t i = 0; i < spirits.size(); ++i) {
        const QString number = QString::number(i + 1);
        SpiritRowControls& spirit = spirits[i];
        spirit.command =
            dropDown(QStringLiteral("spiritCommand") + number, SpiritCommand::kItems, spiritGroup);
        spirit.command->setAccessibleName(QStringLiteral("精神 ") + number);
        spirit.level = digitsEdit(QStringLiteral("learnLevel") + number, spiritGroup);
        spirit.level->setAccessibleName(QStringLiteral("习得等级 ") + number);
        spirit.level->setMaximumWidth(40);
        spirit.spin = new SpinButtons(QStringLiteral("learnLevelSpin") + number,
                                      QStringLiteral("习得等级 ") + number, spiritGroup);
        const int gridRow = static_cast<int>(i) + 1;
        spiritGrid->addWidget(spirit.command, gridRow, 0);
        spiritGrid->addWidget(spirit.level, gridRow, 1);
        spiritGrid->addWidget(spirit.spin, gridRow, 2);
    }

    skillTable = new QPushButton(QStringLiteral("技能列表"), page);
    skillTable->setObjectName(QStringLiteral("skillTableButton"));
    skillTable->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* spiritRow = new QHBoxLayout;
    spiritRow->addWidget(spiritGroup);
    spiritRow->addWidget(skillTable);

    auto* extras = new QGridLayout;
    spiritPoints = digitsEdit(QStringLiteral("spiritPointsEdit"), page);
    personality = dropDown(QStringLiteral("personalityList"), Personality::kItems, page);
    addLabelled(extras, 0, 0, "SP", spiritPoints);
    addLabelled(extras, 1, 0, "性格", personality);
    extras->setColumnStretch(2, 1);

    cancel = new QPushButton(QStringLiteral("取消"), page);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    ok = new QPushButton(QStringLiteral("确定"), page);
    ok->setObjectName(QStringLiteral("okButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto* right = new QVBoxLayout;
    right->addLayout(spiritRow);
    right->addLayout(extras);
    right->addStretch();
    right->addLayout(buttons);

    auto* columns = new QHBoxLayout(page);
    columns->addWidget(listGroup, 1);
    columns->addLayout(middle);
    columns->addLayout(right);
}

void PilotPageUi::take(PilotPageValues& values) const {
    PilotStats& stats = values.record.stats;
    stats.melee = textOf(melee);
    stats.shooting = textOf(shooting);
    stats.evasion = textOf(evasion);
    stats.hit = textOf(hit);
    stats.skill = textOf(skill);
    stats.reaction = textOf(reaction);
    stats.spiritPoints = textOf(spiritPoints);
    stats.air = choiceOf(air);
    stats.space = choiceOf(space);
    stats.land = choiceOf(land);
    stats.sea = choiceOf(sea);
    for (std::size_t i = 0; i < spirits.size(); ++i) {
        values.record.spirits[i].command = choiceOf(spirits[i].command);
        values.record.spirits[i].level = textOf(spirits[i].level);
    }
    values.record.personality = choiceOf(personality);
    values.searchText = textOf(search);
}

void PilotPageUi::refresh(const PilotPageValues& values) const {
    const PilotStats& stats = values.record.stats;
    show(melee, stats.melee);
    show(shooting, stats.shooting);
    show(evasion, stats.evasion);
    show(hit, stats.hit);
    show(skill, stats.skill);
    show(reaction, stats.reaction);
    show(spiritPoints, stats.spiritPoints);
    show(air, stats.air);
    show(space, stats.space);
    show(land, stats.land);
    show(sea, stats.sea);
    for (std::size_t i = 0; i < spirits.size(); ++i) {
        show(spirits[i].command, values.record.spirits[i].command);
        show(spirits[i].level, values.record.spirits[i].level);
    }
    show(personality, values.record.personality);
    show(search, values.searchText);
}

void PilotPageUi::enableFor(PilotRecordKind kind) const {
    QWidget* const statControls[] = {melee, shooting, evasion, hit, skill,        reaction,
                                     air,   space,    land,    sea, spiritPoints, personality};
    setEnabled(statControls, hasStatBlock(kind));
    for (const SpiritRowControls& spirit : spirits) {
        QWidget* const row[] = {spirit.command, spirit.level, spirit.spin};
        setEnabled(row, hasSpiritBlock(kind));
    }
    skillTable->setEnabled(opensSkillTable(kind));
}

void PilotPageUi::enableButtons(bool enabled) const {
    QWidget* const buttons[] = {skillTable, cancel, ok};
    setEnabled(buttons, enabled);
}

void PilotPageUi::fillList(const NameList& names) const {
    list->clearContents();
    list->setRowCount(static_cast<int>(names.entries.size()));
    int row = 0;
    for (const NameListEntry& entry : names.entries) {
        auto* nameItem = new QTableWidgetItem(displayName(entry.name));
        auto* addressItem = new QTableWidgetItem(QString::fromLatin1(
            entry.addressText.data(), static_cast<qsizetype>(entry.addressText.size())));
        nameItem->setTextAlignment(Qt::AlignCenter);
        addressItem->setTextAlignment(Qt::AlignCenter);
        list->setItem(row, 0, nameItem);
        list->setItem(row, 1, addressItem);
        ++row;
    }
}

} // namespace starfall
