#pragma once

// The unit tab: the units of unitlist.ini, the selected unit's record in edit
// boxes, drop-down lists and four ability tick lists, "确定" (save), "取消"
// (re-read), the name search, and "武器" (the unit's weapons).
//
// Every notice of the unit list (a row losing or gaining the selection) makes
// that row current and re-reads it from the image, so edits never survive a
// selection change. The page exchanges its values with its controls all at
// once: take all before acting, refresh all after loading.

#include "app/EditorPage.h"
#include "lists/NameList.h"
#include "lists/NameSearch.h"
#include "unit/TerrainGroup.h"
#include "unit/UnitRecord.h"
#include "unit/WeaponHandOver.h"

#include <QString>

#include <array>
#include <functional>
#include <string_view>

class QComboBox;
class QFormLayout;
class QItemSelection;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace starfall {

class AbilityTickList;

class CUnitDlgPage : public EditorPage {
    Q_OBJECT
public:
    static constexpr int kAbilityListCount = 4;

    explicit CUnitDlgPage(QWidget* parent = nullptr);

    // Re-reads unitlist.ini from the session's program directory and selects
    // the first unit, which loads it. A missing list is reported and ends the
    // program.
    void rebuildList();
    // "取消": re-reads the current unit, discarding edits.
    void reloadFromImage() override;
    // "确定".
    void saveUnit();
    // "GO", or Enter in the search box.
    void search();
    // "武器".
    void openWeaponEditor();

    // Replaces the modal weapon editor (tests); an empty opener restores it.
    void setWeaponEditorOpener(WeaponEditorOpener opener);
    // Where the trace lines of the loads go (code-page-949 bytes).
    void setTraceSink(std::function<void(std::string_view)> sink);
    // What the program's weapon editor is given to find weapon.ini and to
    // send its own trace lines.
    void setWeaponDlgServices(WeaponDlgServices services);

    [[nodiscard]] const NameList& nameList() const { return m_list; }
    // The row whose unit is current, or -1 before the first notice of a list.
    [[nodiscard]] int currentRow() const { return m_currentRow; }
    [[nodiscard]] const NameSearch& nameSearch() const { return m_search; }
    [[nodiscard]] AbilityTickList* abilityList(int list) const;

    // Each ability list's remembered row: one set for the whole program.
    [[nodiscard]] static int rememberedRow(int list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    [[nodiscard]] QWidget* buildListColumn();
    [[nodiscard]] QWidget* buildRecordColumn();
    [[nodiscard]] QWidget* buildAbilityColumn();
    QLineEdit* addStatEdit(const char* objectName, const char* label, QWidget* parent,
                           QFormLayout* form);
    void watchKeys();

    void onListSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void selectUnit(int row);
    void loadCurrentUnit();
    void showAbilities();
    void takeAll();
    void refreshAll();
    void setUnitButtonsEnabled(bool enabled);
    [[nodiscard]] bool handleKeyPress(QObject* watched, QKeyEvent* key);

    NameList m_list;
    NameSearch m_search;
    int m_currentRow = -1;
    QString m_searchText;
    UnitRecord m_record;
    bool m_filling = false;
    const QKeyEvent* m_forwardedKey = nullptr;
    WeaponEditorOpener m_openWeaponEditor;
    WeaponDlgServices m_weaponServices;
    std::function<void(std::string_view)> m_trace;

    QTableWidget* m_unitList = nullptr;
    QLineEdit* m_searchEdit = nullptr;
    QPushButton* m_go = nullptr;
    QLabel* m_name = nullptr;
    QLineEdit* m_hp = nullptr;
    QLineEdit* m_en = nullptr;
    QLineEdit* m_movement = nullptr;
    QLineEdit* m_armor = nullptr;
    QLineEdit* m_mobility = nullptr;
    QLineEdit* m_limit = nullptr;
    QComboBox* m_partsSlots = nullptr;
    QComboBox* m_movementType = nullptr;
    QLineEdit* m_repairCost = nullptr;
    TerrainCombos m_terrain{};
    std::array<AbilityTickList*, kAbilityListCount> m_abilities{};
    QPushButton* m_weapons = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace starfall
