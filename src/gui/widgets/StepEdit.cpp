#include "gui/widgets/StepEdit.h"

#include "gui/widgets/DigitsEdit.h"

#include <QStyle>
#include <QStyleOptionSpinBox>

#include <cstdlib>

namespace starfall {

StepEdit::StepEdit(const QString& objectName, Byte byte, QWidget* parent)
    : QAbstractSpinBox(parent), m_edit(new DigitsEdit(QStringLiteral("qt_spinbox_lineedit"), this)),
      m_widest(byte == Byte::Signed ? QStringLiteral("-128") : QStringLiteral("255")) {
    setObjectName(objectName);
    setLineEdit(m_edit); // keeps the edit's digits-only validator
    if (byte == Byte::Signed)
        m_edit->allowSign();
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
}

QString StepEdit::value() const {
    return m_edit->text();
}

void StepEdit::showText(const QString& text) {
    m_edit->showText(text);
}

void StepEdit::stepBy(int steps) {
    const StepDirection direction = steps > 0 ? StepDirection::Up : StepDirection::Down;
    for (int i = 0; i < std::abs(steps); ++i)
        Q_EMIT stepped(direction);
}

QSize StepEdit::sizeHint() const {
    ensurePolished();
    // Room for the widest text, a blank and the cursor, as a spin box measures.
    const int textWidth = fontMetrics().horizontalAdvance(m_widest + QLatin1Char(' ')) + 2;
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option,
                                     QSize(textWidth, m_edit->sizeHint().height()), this);
}

QAbstractSpinBox::StepEnabled StepEdit::stepEnabled() const {
    // The limits belong to the owner's rule, so both arrows always work.
    return StepUpEnabled | StepDownEnabled;
}

} // namespace starfall
