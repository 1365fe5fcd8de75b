#pragma once

// The controls of the pilot page, built in code, and the exchange of all their
// values with the page's stored values at once: take copies every control
// into the values, refresh copies every value into its control.

#include "core/pilot/PilotRecord.h"

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace starfall {

class ChoiceCombo;
class DigitsEdit;
class NameListModel;
class StepEdit;

// What the page keeps besides its controls: the record and the search box.
struct PilotPageValues {
    PilotRecord record;
    std::string searchText; // UTF-8, as typed
};

struct SpiritRowControls {
    ChoiceCombo* command = nullptr;
    StepEdit* level = nullptr; // the learn level and its spin arrows
};

struct PilotPageUi {
    NameListModel* names = nullptr;
    QTableView* list = nullptr;
    QLineEdit* search = nullptr;
    QPushButton* go = nullptr;
    QLabel* name = nullptr;
    DigitsEdit* melee = nullptr;
    DigitsEdit* shooting = nullptr;
    DigitsEdit* evasion = nullptr;
    DigitsEdit* hit = nullptr;
    DigitsEdit* skill = nullptr;
    DigitsEdit* reaction = nullptr;
    ChoiceCombo* air = nullptr;
    ChoiceCombo* space = nullptr;
    ChoiceCombo* land = nullptr;
    ChoiceCombo* sea = nullptr;
    std::array<SpiritRowControls, kSpiritCount> spirits{};
    DigitsEdit* spiritPoints = nullptr;
    ChoiceCombo* personality = nullptr;
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
};

} // namespace starfall
