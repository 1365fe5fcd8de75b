#include "unit/ChoiceCombo.h"

#include <QComboBox>

namespace starfall {

QComboBox* makeChoiceCombo(std::span<const std::string_view> items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);
    for (const std::string_view item : items)
        combo->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    combo->setCurrentIndex(-1);
    return combo;
}

void showChoice(QComboBox* combo, int itemCount, const ListChoice& choice) {
    while (combo->count() > itemCount)
        combo->removeItem(combo->count() - 1);
    if (const auto code = choice.unlistedCode()) {
        combo->addItem(QString::number(*code));
        combo->setCurrentIndex(itemCount);
        return;
    }
    const int index = choice.indexOr();
    combo->setCurrentIndex(index >= 0 && index < itemCount ? index : -1);
}

ListChoice takeChoice(const QComboBox* combo, int itemCount, const ListChoice& shown) {
    const int index = combo->currentIndex();
    if (index < 0)
        return ListChoice::none();
    if (index < itemCount)
        return ListChoice::item(index);
    return shown.unlistedCode() ? shown : ListChoice::none();
}

} // namespace starfall
