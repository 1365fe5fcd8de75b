#pragma once

// What the pilot page hands the skill editor, and the seam through which it
// opens it: the program runs the modal dialog, tests put their own opener in.

#include "core/io/Position.h"

#include <functional>
#include <string>

class QWidget;

namespace starfall {

struct SkillDialogRequest {
    std::string imagePath;
    std::string nameCp949;   // the list name, as the list file holds it
    Position tableStart = 0; // T
    bool writable = true;    // false: the image is read-only, "确定" stays off

    bool operator==(const SkillDialogRequest&) const = default;
};

// Runs the editor for the request and returns when the user has closed it.
using SkillDialogOpener = std::function<void(QWidget* parent, const SkillDialogRequest&)>;

// The program's opener: SkillDialog, modal over `parent`.
void runSkillDialog(QWidget* parent, const SkillDialogRequest& request);

} // namespace starfall
