#pragma once

// A fixed drop-down list showing a stored code. A code that no item stands for
// is shown as one extra item reading the code, so that a save writes it back
// unless the user picks one of the fixed items.

#include "image/ListChoice.h"

#include <span>
#include <string_view>

class QComboBox;
class QWidget;

namespace starfall {

// A non-editable list holding `items` (UTF-8), nothing selected.
[[nodiscard]] QComboBox* makeChoiceCombo(std::span<const std::string_view> items, QWidget* parent);

// Selects the item, nothing, or the extra item for an unlisted code; an extra
// item of an earlier code is removed first.
void showChoice(QComboBox* combo, int itemCount, const ListChoice& choice);

// What the list stands for now: a fixed item, nothing, or the unlisted code
// that `shown` carries when the extra item is still selected.
[[nodiscard]] ListChoice takeChoice(const QComboBox* combo, int itemCount, const ListChoice& shown);

} // namespace starfall
