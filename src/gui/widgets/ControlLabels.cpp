#include "gui/widgets/ControlLabels.h"

#include <QLabel>

namespace starfall {

QLabel* captionFor(const QString& text, QWidget* control) {
    auto* label = new QLabel(text, control->parentWidget());
    label->setObjectName(control->objectName() + QStringLiteral("Label"));
    label->setBuddy(control);
    control->setAccessibleName(text);
    return label;
}

void nameRow(QWidget* control, const QString& name) {
    captionFor(name, control)->hide();
}

} // namespace starfall
