#pragma once

// The one fixed drop-down list of the program, showing a stored code. A code
// that no item stands for is shown as one extra item reading the code, so
// that a save writes it back unless the user picks one of the fixed items;
// a list showing no item gives back "no choice", which keeps the stored bits.

#include "core/codec/ListChoice.h"

#include <QComboBox>

#include <span>
#include <string_view>

namespace starfall {

class ChoiceCombo : public QComboBox {
    Q_OBJECT
public:
    // A non-editable list of `items` (UTF-8), nothing selected.
    ChoiceCombo(const QString& objectName, std::span<const std::string_view> items,
                QWidget* parent);

    // Selects the item, nothing, or the extra item for an unlisted code; the
    // extra item of an earlier code goes first.
    void showChoice(const ListChoice& choice);

    // What the list stands for now: a fixed item, nothing, or the unlisted
    // code last shown while its extra item is still selected.
    [[nodiscard]] ListChoice choice() const;

private:
    int m_itemCount = 0;
    ListChoice m_shown = ListChoice::none();
};

} // namespace starfall
