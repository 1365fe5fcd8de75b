#pragma once

// The weapon editor: the unit's weapons by name on the left, the fields of the
// picked weapon's record on the right. "确定" writes the ten edited bytes and
// stays open; "取消", Escape and the close box close it; Enter does nothing.
//
// Every notice of the weapon list (a row losing or gaining the selection)
// makes that row current and reads it, so "确定" stays disabled until a weapon
// has been shown, and for good with an empty list.

#include "unit/TerrainGroup.h"
#include "unit/WeaponHandOver.h"
#include "unit/WeaponRecord.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <string_view>

class QComboBox;
class QItemSelection;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace starfall {

class StepEdit;

class CWeaponDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNameColumnWidth = 118;
    static constexpr int kHitStep = 5;
    static constexpr int kHitLimit = 50;
    static constexpr int kRangeLimit = 50;

    // Builds the weapon list and shows its first weapon.
    explicit CWeaponDlg(WeaponHandOver handOver, WeaponDlgServices services = {},
                        QWidget* parent = nullptr);

    // "确定".
    void saveWeapon();
    // The spin arrows: +1 up, -1 down.
    void stepHit(int direction);
    void stepRangeNear(int direction);
    void stepRangeFar(int direction);

    // The weapon list row whose weapon is shown, or -1.
    [[nodiscard]] int currentRow() const { return m_currentRow; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    [[nodiscard]] QWidget* buildFields();
    [[nodiscard]] QWidget* buildRangeGroup();
    [[nodiscard]] QWidget* buildTerrainGroup();
    void buildWeaponList();
    void onListSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void makeCurrent(int row);
    void loadWeapon();
    [[nodiscard]] int currentNumber() const;
    void takeAll();
    void refreshAll();
    void stepRange(std::string& text, int direction);

    WeaponHandOver m_handOver;
    WeaponDlgServices m_services;
    int m_currentRow = -1;
    WeaponRecord m_record;

    QLabel* m_name = nullptr;
    QTableWidget* m_list = nullptr;
    QLineEdit* m_attack = nullptr;
    StepEdit* m_hit = nullptr;
    QComboBox* m_critical = nullptr;
    QLineEdit* m_ammo = nullptr;
    QLineEdit* m_en = nullptr;
    QLineEdit* m_morale = nullptr;
    QComboBox* m_upgradeType = nullptr;
    StepEdit* m_rangeNear = nullptr;
    StepEdit* m_rangeFar = nullptr;
    TerrainCombos m_terrain{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace starfall
