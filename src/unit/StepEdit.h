#pragma once

// An edit box with up and down arrows whose steps the owner decides: the
// arrows, the arrow keys and the wheel only report the direction, and the
// owner rewrites the text. The text is whatever was typed or set; nothing is
// clamped or reformatted on its own.

#include <QAbstractSpinBox>

#include <functional>

namespace starfall {

class StepEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // +1 for the up arrow, -1 for the down arrow.
    using StepHandler = std::function<void(int direction)>;

    explicit StepEdit(QWidget* parent = nullptr);

    void setStepHandler(StepHandler handler) { m_handler = std::move(handler); }

    [[nodiscard]] QString value() const;
    void setValue(const QString& text);

    void stepBy(int steps) override;

protected:
    [[nodiscard]] StepEnabled stepEnabled() const override;

private:
    StepHandler m_handler;
};

} // namespace starfall
