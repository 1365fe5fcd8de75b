#pragma once

// The marks the comparison with the original puts on a page: each control
// whose field differs gets a coloured frame, and its tooltip and accessible
// description say the original's value ("원본: 3800"). And "원본 값으로",
// which shows the original's values of the current record in the controls,
// unsaved, for the user to review and then save or cancel.

#include "core/compare/OriginalComparison.h"

#include <QString>

#include <string>
#include <string_view>

class QPushButton;
class QWidget;

namespace starfall {

class PilotPage;
class UnitPage;
class UpgradePage;

// The objectName of the control that shows the field `key` on the unit or
// pilot page.
[[nodiscard]] QString controlNameFor(std::string_view key);

// Marks the fields of `change` (null: none) on `page`, unmarking the rest.
void markFields(QWidget* page, const RecordChange* change);
void markFields(UpgradePage& page, const RecordChange* change);
[[nodiscard]] bool isMarked(const QWidget* control);

// Shows the original's values of the page's current record; false when the
// page has none, or the original cannot be read (reported).
bool showOriginalValues(UnitPage& page, const std::string& original);
bool showOriginalValues(PilotPage& page, const std::string& original);

// "원본 값으로", added beside the page's Cancel button.
[[nodiscard]] QPushButton* addOriginalValuesButton(QWidget* page);

} // namespace starfall
