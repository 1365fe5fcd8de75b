#pragma once

// The one spin control of the program: a digits-only edit with up and down
// arrows. It keeps no value of its own: the arrows, the arrow keys and the
// wheel only say which way to step, and the owner rewrites the text by its
// own rule (a learn level, a weapon's hit or range). Nothing is clamped or
// reformatted by the control itself.

#include "core/pilot/LearnLevelStep.h"

#include <QAbstractSpinBox>

namespace starfall {

class DigitsEdit;

class StepEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // Every spin edits one byte; the field is made wide enough for the
    // widest value of it ("255", or "-128" for a signed byte).
    enum class Byte { Unsigned, Signed };

    StepEdit(const QString& objectName, Byte byte, QWidget* parent = nullptr);

    [[nodiscard]] QString value() const;
    void showText(const QString& text);
    [[nodiscard]] DigitsEdit* edit() const { return m_edit; }

    void stepBy(int steps) override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void stepped(starfall::StepDirection direction);

protected:
    [[nodiscard]] StepEnabled stepEnabled() const override;

private:
    DigitsEdit* m_edit = nullptr;
    QString m_widest;
};

} // namespace starfall
