#include "unit/StepEdit.h"

#include <QLineEdit>

namespace starfall {

StepEdit::StepEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    setKeyboardTracking(true);
}

QString StepEdit::value() const {
    return lineEdit()->text();
}

void StepEdit::setValue(const QString& text) {
    lineEdit()->setText(text);
}

void StepEdit::stepBy(int steps) {
    if (!m_handler || steps == 0)
        return;
    const int direction = steps > 0 ? 1 : -1;
    for (int i = 0; i < (steps > 0 ? steps : -steps); ++i)
        m_handler(direction);
}

QAbstractSpinBox::StepEnabled StepEdit::stepEnabled() const {
    // The limits belong to the owner's rule, so both arrows always work.
    return StepUpEnabled | StepDownEnabled;
}

} // namespace starfall
