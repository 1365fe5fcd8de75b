#pragma once

// The weapon editor: the unit's weapons by name on the left, the fields of the
// picked weapon's record on the right. "确定" writes the ten edited bytes and
// stays open; "取消", Escape and the close box close it; Enter does nothing.
//
// Every notice of the weapon list (a row losing or gaining the selection)
// makes that row current and reads it, so "确定" stays disabled until a weapon
// has been shown, and for good with an empty list.

#include "core/pilot/LearnLevelStep.h"
#include "gui/pages/WeaponDialogUi.h"
#include "gui/pages/WeaponHandOver.h"
#include "core/weapon/WeaponRecord.h"

#include <QDialog>

class QItemSelection;

namespace starfall {

class WeaponDialog : public QDialog {
    Q_OBJECT
public:
    // Builds the weapon list and shows its first weapon.
    explicit WeaponDialog(WeaponHandOver handOver, WeaponDialogServices services = {},
                        QWidget* parent = nullptr);

    // "确定": whether the weapon is saved now.
    bool saveWeapon();
    // Whether the fields hold values the weapon was not loaded or saved with.
    [[nodiscard]] bool hasUnsavedEdits() const;
    // "取消", Escape and the close box: unsaved edits are first saved,
    // discarded or kept (the dialog then stays) as the user answers.
    void reject() override;
    // The spin controls.
    void stepHit(StepDirection direction);
    void stepRangeNear(StepDirection direction);
    void stepRangeFar(StepDirection direction);

    // The weapon list row whose weapon is shown, or -1.
    [[nodiscard]] int currentRow() const { return m_currentRow; }
    [[nodiscard]] const WeaponDialogUi& ui() const { return m_ui; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWeaponList();
    void onListSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void makeCurrent(int row);
    void loadWeapon();
    [[nodiscard]] int currentNumber() const;
    [[nodiscard]] WeaponRecord shownRecord() const;
    [[nodiscard]] QWidget* controlFor(std::string_view key) const;
    // Asks the three-way question when there are unsaved edits.
    [[nodiscard]] bool mayLeaveWeapon();
    void noteClean();
    void onEdited();
    void stepRange(std::string& text, StepDirection direction);

    WeaponHandOver m_handOver;
    WeaponDialogServices m_services;
    WeaponDialogUi m_ui;
    int m_currentRow = -1;
    WeaponRecord m_record;
    WeaponRecord m_clean; // as shown after the last load or save
    bool m_keepingSelection = false;
};

} // namespace starfall
