#pragma once

// The controls of the weapon editor, built in code, and the exchange of all
// their values with the weapon record at once: take copies every control into
// the record, refresh copies every field into its control.

#include "gui/widgets/TerrainGroup.h"
#include "core/weapon/WeaponRecord.h"

class QDialog;
class QLabel;
class QPushButton;
class QTableView;

namespace starfall {

class ChoiceCombo;
class DigitsEdit;
class NameListModel;
class StepEdit;

struct WeaponDialogUi {
    static constexpr int kNameColumnWidth = 118;

    QLabel* name = nullptr;
    NameListModel* weapons = nullptr; // names, and the numbers as the hidden texts
    QTableView* list = nullptr;
    DigitsEdit* attack = nullptr;
    StepEdit* hit = nullptr;
    ChoiceCombo* critical = nullptr;
    DigitsEdit* ammo = nullptr;
    DigitsEdit* en = nullptr;
    DigitsEdit* morale = nullptr;
    ChoiceCombo* upgradeType = nullptr;
    StepEdit* rangeNear = nullptr;
    StepEdit* rangeFar = nullptr;
    TerrainCombos terrain{};
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QLabel* savedNotice = nullptr; // "저장 완료" after a save, until the next change

    // Creates every control on `dialog` and lays them out, in Tab order.
    void build(QDialog* dialog);

    void take(WeaponRecord& record) const;
    void refresh(const WeaponRecord& record) const;
};

} // namespace starfall
