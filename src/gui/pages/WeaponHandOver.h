#pragma once

// What the unit page hands the weapon editor, and the seam through which it
// opens it: the program runs the modal dialog, tests put their own opener in.

#include "core/io/Position.h"

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace starfall {

struct WeaponHandOver {
    std::string imagePath;
    std::string nameCp949;     // the list name, as the list file holds it
    std::string addressText;   // the list's address text, not converted
    Position listPosition = 0; // P + 24, before the editor's own adjustment
    bool writable = true;      // false: the image is read-only, "确定" stays off

    bool operator==(const WeaponHandOver&) const = default;
};

// Where the editor finds weapon.ini and sends its trace lines. An empty
// program directory source means the folder of the running program.
struct WeaponDialogServices {
    std::function<std::string()> programDirectory;
    std::function<void(std::string_view)> trace;
};

// Runs the editor for the unit and returns when the user has closed it.
using WeaponEditorOpener = std::function<void(QWidget* parent, const WeaponHandOver&)>;

// The program's opener: WeaponDialog, modal over `parent`.
void runWeaponEditor(QWidget* parent, const WeaponHandOver& handOver,
                     WeaponDialogServices services = {});

} // namespace starfall
