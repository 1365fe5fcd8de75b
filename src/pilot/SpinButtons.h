#pragma once

// An up-down pair of arrow buttons beside a level edit. It keeps no value of
// its own: each click only says which way to step, and the owner steps the
// text of the edit beside it.

#include "pilot/LearnLevelStep.h"

#include <QWidget>

class QToolButton;

namespace starfall {

class SpinButtons : public QWidget {
    Q_OBJECT
public:
    // `name` becomes the objectName, with "Up" and "Down" for the two arrows;
    // `accessibleLabel` names the pair for assistive tools.
    SpinButtons(const QString& name, const QString& accessibleLabel, QWidget* parent = nullptr);

    [[nodiscard]] QToolButton* upButton() const { return m_up; }
    [[nodiscard]] QToolButton* downButton() const { return m_down; }

Q_SIGNALS:
    void stepped(starfall::StepDirection direction);

private:
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};

} // namespace starfall
