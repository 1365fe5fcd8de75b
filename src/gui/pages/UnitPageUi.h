#pragma once

// The controls of the unit page, built in code, and the exchange of all their
// values with the page's stored values at once: take copies every control
// into the values, refresh copies every value into its control. The ability
// codes live in the four tick lists themselves: a load shows them, a save
// takes them.

#include "gui/widgets/TerrainGroup.h"
#include "core/unit/UnitRecord.h"

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace starfall {

class AbilityTickList;
class ChoiceCombo;
class DigitsEdit;
class NameListModel;

inline constexpr int kAbilityListCount = 4;

// What the page keeps besides its controls: the record and the search box.
struct UnitPageValues {
    UnitRecord record;
    std::string searchText; // UTF-8, as typed
};

struct UnitPageUi {
    NameListModel* names = nullptr;
    QTableView* list = nullptr;
    QLineEdit* search = nullptr;
    QPushButton* go = nullptr;
    QLabel* name = nullptr;
    DigitsEdit* hp = nullptr;
    DigitsEdit* en = nullptr;
    DigitsEdit* movement = nullptr;
    DigitsEdit* armor = nullptr;
    DigitsEdit* mobility = nullptr;
    DigitsEdit* limit = nullptr;
    ChoiceCombo* partsSlots = nullptr;
    ChoiceCombo* movementType = nullptr;
    DigitsEdit* repairCost = nullptr;
    TerrainCombos terrain{};
    std::array<AbilityTickList*, kAbilityListCount> abilities{};
    QPushButton* weapons = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* ok = nullptr;

    // Creates every control on `page` and lays them out; each ability list
    // remembers its ticked row in `rememberedRows`.
    void build(QWidget* page, std::array<int, kAbilityListCount>& rememberedRows);

    void take(UnitPageValues& values) const;
    void refresh(const UnitPageValues& values) const;

    // Ticks and shows each list's stored code, and nothing else.
    void showAbilities(const UnitRecord& record) const;
    // Each list's highest tick, or 0 without one; a code no row stands for,
    // or none at all (past the image's end), goes back as it came.
    void takeAbilities(UnitRecord& record) const;

    // Weapons, cancel and save.
    void enableButtons(bool enabled) const;
};

} // namespace starfall
