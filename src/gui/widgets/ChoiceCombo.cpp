#include "gui/widgets/ChoiceCombo.h"

namespace starfall {

ChoiceCombo::ChoiceCombo(const QString& objectName, std::span<const std::string_view> items,
                         QWidget* parent)
    : QComboBox(parent), m_itemCount(static_cast<int>(items.size())) {
    setObjectName(objectName);
    setEditable(false);
    QStringList texts;
    texts.reserve(m_itemCount);
    for (const std::string_view item : items)
        texts.append(QString::fromUtf8(item));
    addItems(texts);
    setCurrentIndex(-1);
}

void ChoiceCombo::showChoice(const ListChoice& choice) {
    m_shown = choice;
    while (count() > m_itemCount)
        removeItem(count() - 1);
    if (const auto code = choice.unlistedCode()) {
        addItem(QString::number(*code));
        setCurrentIndex(m_itemCount);
        return;
    }
    const int index = choice.indexOr();
    setCurrentIndex(index < m_itemCount ? index : -1);
}

ListChoice ChoiceCombo::choice() const {
    const int index = currentIndex();
    if (index < 0)
        return ListChoice::none();
    if (index < m_itemCount)
        return ListChoice::item(index);
    return m_shown.unlistedCode() ? m_shown : ListChoice::none();
}

} // namespace starfall
