#pragma once

// The controls of the pilot page, built in code, and the exchange of all their
// values with the page's stored values at once: take copies every control
// into the values, refresh copies every value into its control.

#include "pilot/PilotRecord.h"

#include <QString>

#include <array>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace starfall {

class SpinButtons;
struct NameList;

// What the page keeps besides its controls: the record and the search box.
struct PilotPageValues {
    PilotRecord record;
    std::string searchText; // UTF-8, as typed
};

struct SpiritRowControls {
    QComboBox* command = nullptr;
    QLineEdit* level = nullptr;
    SpinButtons* spin = nullptr;
};

struct PilotPageUi {
    QTableWidget* list = nullptr;
    QLineEdit* search = nullptr;
    QPushButton* go = nullptr;
    QLabel* name = nullptr;
    QLineEdit* melee = nullptr;
    QLineEdit* shooting = nullptr;
    QLineEdit* evasion = nullptr;
    QLineEdit* hit = nullptr;
    QLineEdit* skill = nullptr;
    QLineEdit* reaction = nullptr;
    QComboBox* air = nullptr;
    QComboBox* space = nullptr;
    QComboBox* land = nullptr;
    QComboBox* sea = nullptr;
    std::array<SpiritRowControls, kSpiritCount> spirits{};
    QLineEdit* spiritPoints = nullptr;
    QComboBox* personality = nullptr;
    QPushButton* skillTable = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* ok = nullptr;

    // Creates every control on `page` and lays them out.
    void build(QWidget* page);

    void take(PilotPageValues& values) const;
    void refresh(const PilotPageValues& values) const;

    // The record controls the kind has are enabled, the others disabled (they
    // keep showing what they showed).
    void enableFor(PilotRecordKind kind) const;
    // Skill table, cancel and save.
    void enableButtons(bool enabled) const;

    // Empties the list and shows the entries' names (decoded for display) and
    // address texts.
    void fillList(const NameList& names) const;
};

} // namespace starfall
