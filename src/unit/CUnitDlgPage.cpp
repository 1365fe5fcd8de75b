#include "unit/CUnitDlgPage.h"

#include "app/CoreErrorReport.h"
#include "app/MessagePresenter.h"
#include "app/PageOwner.h"
#include "image/Cp949.h"
#include "image/Messages.h"
#include "lists/NameListReader.h"
#include "pilot/TerrainRank.h"
#include "unit/AbilityTickList.h"
#include "unit/ChoiceCombo.h"
#include "unit/TerrainGroup.h"
#include "unit/DigitKeyFilter.h"
#include "unit/UnitRecordFile.h"
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
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace starfall {

namespace {

constexpr int kNameColumnWidth = 110;

// The ability lists' remembered rows belong to the page class, not to a page.
std::array<int, CUnitDlgPage::kAbilityListCount> g_rememberedRows{};

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString displayName(std::string_view nameCp949) {
    return qs(cp949::toUtf8(nameCp949));
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isForwardedToOwner(const QKeyEvent& key) {
    return key.modifiers().testFlag(Qt::ControlModifier) &&
           (key.key() == Qt::Key_O || key.key() == Qt::Key_X);
}

std::set<int> rowsOf(const QItemSelection& selection) {
    std::set<int> rows;
    for (const QModelIndex& index : selection.indexes())
        rows.insert(index.row());
    return rows;
}

} // namespace

CUnitDlgPage::CUnitDlgPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("unitPage"));
    buildControls();
    watchKeys();
    setUnitButtonsEnabled(false);
}

void CUnitDlgPage::buildControls() {
    auto* page = new QHBoxLayout(this);
    page->addWidget(buildListColumn());
    page->addWidget(buildRecordColumn());
    page->addWidget(buildAbilityColumn(), 1);
}

QWidget* CUnitDlgPage::buildListColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    m_searchEdit = new QLineEdit(column);
    m_searchEdit->setObjectName(QStringLiteral("searchEdit"));
    m_searchEdit->setAccessibleName(QString::fromUtf8(kSearchBoxName));
    m_go = new QPushButton(QStringLiteral("GO"), column);
    m_go->setObjectName(QStringLiteral("goButton"));
    connect(m_go, &QPushButton::clicked, this, &CUnitDlgPage::search);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchEdit, 1);
    searchRow->addWidget(m_go);
    layout->addLayout(searchRow);

    auto* group = new QGroupBox(QStringLiteral("机体列表"), column);
    group->setObjectName(QStringLiteral("unitListGroup"));
    m_unitList = new QTableWidget(0, 2, group);
    m_unitList->setObjectName(QStringLiteral("unitList"));
    m_unitList->setAccessibleName(QStringLiteral("机体列表"));
    m_unitList->setHorizontalHeaderLabels(
        {QStringLiteral("유니트 이름"), QStringLiteral("유니트 주소")});
    m_unitList->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_unitList->setColumnWidth(0, kNameColumnWidth);
    m_unitList->setColumnHidden(1, true); // the address is there, but never seen
    m_unitList->verticalHeader()->hide();
    m_unitList->setShowGrid(true);
    m_unitList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_unitList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_unitList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_unitList->viewport()->installEventFilter(this);
    connect(m_unitList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CUnitDlgPage::onListSelectionChanged);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_unitList);
    layout->addWidget(group, 1);
    return column;
}

QLineEdit* CUnitDlgPage::addStatEdit(const char* objectName, const char* label, QWidget* parent,
                                     QFormLayout* form) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    DigitKeyFilter::install(edit);
    auto* caption = new QLabel(QString::fromUtf8(label), parent);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

QWidget* CUnitDlgPage::buildRecordColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    m_name = new QLabel(column);
    m_name->setObjectName(QStringLiteral("nameLabel"));
    m_name->setAlignment(Qt::AlignCenter);
    QPalette blue = m_name->palette();
    blue.setColor(QPalette::WindowText, QColor(70, 30, 250));
    m_name->setPalette(blue);
    layout->addWidget(m_name);

    auto* form = new QFormLayout;
    m_hp = addStatEdit("hpEdit", "HP", column, form);
    m_en = addStatEdit("enEdit", "EN", column, form);
    m_movement = addStatEdit("movementEdit", "移动", column, form);
    m_armor = addStatEdit("armorEdit", "装甲", column, form);
    m_mobility = addStatEdit("mobilityEdit", "运动性", column, form);
    m_limit = addStatEdit("limitEdit", "界限", column, form);

    m_partsSlots = makeChoiceCombo(kPartsSlotItems, column);
    m_partsSlots->setObjectName(QStringLiteral("partsSlotsCombo"));
    m_partsSlots->setAccessibleName(QStringLiteral("芯片数"));
    form->addRow(QStringLiteral("芯片数"), m_partsSlots);
    m_movementType = makeChoiceCombo(kMovementTypeItems, column);
    m_movementType->setObjectName(QStringLiteral("movementTypeCombo"));
    m_movementType->setAccessibleName(QStringLiteral("移动类型"));
    form->addRow(QStringLiteral("移动类型"), m_movementType);
    m_repairCost = addStatEdit("repairCostEdit", "修理费", column, form);
    layout->addLayout(form);

    QGroupBox* terrain = makeTerrainGroup(QStringLiteral("地形适性"), QStringLiteral("terrainGroup"),
                                          TerrainRank::kItems, m_terrain, column);
    layout->addWidget(terrain);
    layout->addStretch();
    return column;
}

QWidget* CUnitDlgPage::buildAbilityColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kAbilityListCount; ++i) {
        const QString title = QStringLiteral("机体技能%1").arg(i + 1);
        auto* group = new QGroupBox(title, column);
        group->setObjectName(QStringLiteral("abilityGroup%1").arg(i + 1));
        auto* list = new AbilityTickList(kUnitAbilityItems,
                                         g_rememberedRows[static_cast<std::size_t>(i)], group);
        list->setObjectName(QStringLiteral("abilityList%1").arg(i + 1));
        list->setAccessibleName(title);
        auto* groupLayout = new QVBoxLayout(group);
        groupLayout->addWidget(list);
        // 1 above 2 on the left, 3 above 4 on the right.
        layout->addWidget(group, i % 2, i / 2);
        m_abilities[static_cast<std::size_t>(i)] = list;
    }

    m_weapons = new QPushButton(QStringLiteral("武器"), column);
    m_weapons->setObjectName(QStringLiteral("weaponsButton"));
    connect(m_weapons, &QPushButton::clicked, this, &CUnitDlgPage::openWeaponEditor);
    layout->addWidget(m_weapons, 2, 0, 1, 2);

    m_cancel = new QPushButton(QStringLiteral("取消"), column);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, &CUnitDlgPage::reloadFromImage);
    m_ok = new QPushButton(QStringLiteral("确定"), column);
    m_ok->setObjectName(QStringLiteral("okButton"));
    connect(m_ok, &QPushButton::clicked, this, &CUnitDlgPage::saveUnit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons, 3, 0, 1, 2);
    return column;
}

AbilityTickList* CUnitDlgPage::abilityList(int list) const {
    return m_abilities.at(static_cast<std::size_t>(list));
}

int CUnitDlgPage::rememberedRow(int list) {
    return g_rememberedRows.at(static_cast<std::size_t>(list));
}

void CUnitDlgPage::setWeaponEditorOpener(WeaponEditorOpener opener) {
    m_openWeaponEditor = std::move(opener);
}

void CUnitDlgPage::setTraceSink(std::function<void(std::string_view)> sink) {
    m_trace = std::move(sink);
}

void CUnitDlgPage::setWeaponDlgServices(WeaponDlgServices services) {
    m_weaponServices = std::move(services);
}

void CUnitDlgPage::setUnitButtonsEnabled(bool enabled) {
    m_weapons->setEnabled(enabled);
    m_cancel->setEnabled(enabled);
    m_ok->setEnabled(enabled);
}

void CUnitDlgPage::rebuildList() {
    {
        // Emptying the list is no notice of the page: no row is loaded on the way.
        const QSignalBlocker quiet(m_unitList->selectionModel());
        m_unitList->setRowCount(0);
    }
    m_list = {};
    m_currentRow = -1;
    m_record = {};
    m_name->clear();
    setUnitButtonsEnabled(false);
    if (!runReportingErrors(this, [this] {
            m_list = loadNameList(imageSession().programDirectory, ListKind::Units);
        }))
        return;

    m_filling = true;
    m_unitList->setRowCount(static_cast<int>(m_list.entries.size()));
    for (int row = 0; row < m_unitList->rowCount(); ++row) {
        const NameListEntry& entry = m_list.entries[static_cast<std::size_t>(row)];
        auto* name = new QTableWidgetItem(displayName(entry.name));
        name->setTextAlignment(Qt::AlignCenter);
        auto* address = new QTableWidgetItem(QString::fromLatin1(entry.addressText));
        address->setTextAlignment(Qt::AlignCenter);
        m_unitList->setItem(row, 0, name);
        m_unitList->setItem(row, 1, address);
    }
    m_filling = false;

    if (m_unitList->rowCount() > 0) {
        m_unitList->selectionModel()->select(m_unitList->model()->index(0, 0),
                                             QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    }
    m_searchText.clear();
    m_search.reset();
    refreshAll();
}

void CUnitDlgPage::onListSelectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
    if (m_filling)
        return;
    // The row losing the selection is announced before the row gaining it, so
    // a picked row ends up current; a row that only loses it is reloaded.
    for (const int row : rowsOf(deselected))
        selectUnit(row);
    for (const int row : rowsOf(selected))
        selectUnit(row);
}

void CUnitDlgPage::selectUnit(int row) {
    if (row < 0 || row >= static_cast<int>(m_list.entries.size()))
        return;
    m_currentRow = row;
    loadCurrentUnit();
    setUnitButtonsEnabled(true);
}

void CUnitDlgPage::loadCurrentUnit() {
    if (m_currentRow < 0)
        return;
    const NameListEntry& entry = m_list.entries[static_cast<std::size_t>(m_currentRow)];
    const Position position = m_list.positionOf(entry);
    if (m_trace)
        m_trace(messages::unitTrace(entry.name, position));
    m_name->setText(displayName(entry.name));
    const UnitPlace place = UnitPlace::fromList(m_list, static_cast<std::size_t>(m_currentRow));
    // A record the image cannot hold is reported; the page keeps what it shows.
    if (!runReportingErrors(this,
                            [&] { m_record = loadUnitRecord(imageSession().imagePath, place); }))
        return;
    showAbilities();
    refreshAll();
}

void CUnitDlgPage::showAbilities() {
    for (AbilityTickList* list : m_abilities) {
        list->untickAll();
        list->showRow(0);
    }
    for (std::size_t i = 0; i < m_abilities.size(); ++i) {
        const std::optional<int> code = m_record.abilities[i].index();
        if (!code)
            continue;
        m_abilities[i]->setTicked(*code, true);
        m_abilities[i]->showRow(*code);
    }
}

void CUnitDlgPage::takeAll() {
    m_record.hp = utf8(m_hp->text());
    m_record.en = utf8(m_en->text());
    m_record.movement = utf8(m_movement->text());
    m_record.armor = utf8(m_armor->text());
    m_record.mobility = utf8(m_mobility->text());
    m_record.limit = utf8(m_limit->text());
    m_record.repairCost = utf8(m_repairCost->text());
    m_record.partsSlots =
        takeChoice(m_partsSlots, static_cast<int>(kPartsSlotItems.size()), m_record.partsSlots);
    m_record.movementType = takeChoice(m_movementType, static_cast<int>(kMovementTypeItems.size()),
                                       m_record.movementType);
    for (std::size_t i = 0; i < m_terrain.size(); ++i) {
        m_record.terrain[i] = takeChoice(m_terrain[i], static_cast<int>(TerrainRank::kItems.size()),
                                         m_record.terrain[i]);
    }
    m_searchText = m_searchEdit->text();
}

void CUnitDlgPage::refreshAll() {
    m_hp->setText(qs(m_record.hp));
    m_en->setText(qs(m_record.en));
    m_movement->setText(qs(m_record.movement));
    m_armor->setText(qs(m_record.armor));
    m_mobility->setText(qs(m_record.mobility));
    m_limit->setText(qs(m_record.limit));
    m_repairCost->setText(qs(m_record.repairCost));
    showChoice(m_partsSlots, static_cast<int>(kPartsSlotItems.size()), m_record.partsSlots);
    showChoice(m_movementType, static_cast<int>(kMovementTypeItems.size()), m_record.movementType);
    for (std::size_t i = 0; i < m_terrain.size(); ++i)
        showChoice(m_terrain[i], static_cast<int>(TerrainRank::kItems.size()), m_record.terrain[i]);
    m_searchEdit->setText(m_searchText);
}

void CUnitDlgPage::reloadFromImage() {
    loadCurrentUnit();
}

void CUnitDlgPage::saveUnit() {
    if (m_currentRow < 0)
        return;
    takeAll();
    for (std::size_t i = 0; i < m_abilities.size(); ++i) {
        const std::optional<int> ticked = m_abilities[i]->highestTicked();
        // A code no row stands for was never ticked, and an ability past the
        // image's end shows none: both go back as they came.
        if (ticked)
            m_record.abilities[i] = ListChoice::item(*ticked);
        else if (m_record.abilities[i].index())
            m_record.abilities[i] = ListChoice::item(0);
    }
    const UnitPlace place = UnitPlace::fromList(m_list, static_cast<std::size_t>(m_currentRow));
    if (runReportingErrors(this,
                           [&] { saveUnitRecord(imageSession().imagePath, place, m_record); }))
        messagePresenter().show(this, messages::saveDone());
}

void CUnitDlgPage::openWeaponEditor() {
    if (m_currentRow < 0)
        return;
    const NameListEntry& entry = m_list.entries[static_cast<std::size_t>(m_currentRow)];
    const WeaponHandOver handOver{imageSession().imagePath, entry.name, entry.addressText,
                                  unitWeaponListStart(m_list.positionOf(entry))};
    if (m_openWeaponEditor)
        m_openWeaponEditor(this, handOver);
    else
        runWeaponEditor(this, handOver, m_weaponServices);
}

void CUnitDlgPage::search() {
    takeAll();
    const std::string text = utf8(m_searchText);
    const std::optional<std::size_t> found = m_search.next(cp949::fromUtf8(text), m_list);
    if (!found) {
        messagePresenter().show(this, messages::unitNotFound(text));
        return;
    }
    const int row = static_cast<int>(*found);
    const QModelIndex index = m_unitList->model()->index(row, 0);
    m_unitList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    m_unitList->scrollTo(index, QAbstractItemView::PositionAtTop);
    m_currentRow = row;
    loadCurrentUnit();
    m_unitList->viewport()->update();
}

void CUnitDlgPage::watchKeys() {
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool CUnitDlgPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        handleKeyPress(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::KeyRelease)
        m_forwardedKey = nullptr; // the press it belonged to has been delivered
    if (watched == m_unitList->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A click on empty space takes the selection away: that row's notice
        // reloads it, and it stays current.
        const auto* click = static_cast<QMouseEvent*>(event);
        if (!m_unitList->indexAt(click->position().toPoint()).isValid()) {
            m_unitList->selectionModel()->clearSelection();
            return true;
        }
    }
    return EditorPage::eventFilter(watched, event);
}

bool CUnitDlgPage::handleKeyPress(QObject* watched, QKeyEvent* key) {
    if (isEnter(key->key())) {
        if (watched == m_searchEdit)
            search();
        return true; // Enter never saves, closes or presses anything here
    }
    // Only where the key first arrives: a key a control lets through comes by
    // again on each parent on its way up to the page.
    if (isForwardedToOwner(*key) && owner() != nullptr && m_forwardedKey != key) {
        m_forwardedKey = key;
        owner()->handleKeyDown(key->key());
    }
    return false;
}

void CUnitDlgPage::keyPressEvent(QKeyEvent* event) {
    // A key a control let through has been passed on already.
    if (event == m_forwardedKey) {
        m_forwardedKey = nullptr;
        event->accept();
        return;
    }
    EditorPage::keyPressEvent(event);
}

} // namespace starfall
