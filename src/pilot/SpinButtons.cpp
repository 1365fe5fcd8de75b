#include "pilot/SpinButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace starfall {

namespace {

constexpr int kArrowWidth = 16;
constexpr int kArrowHeight = 11;

QToolButton* arrow(Qt::ArrowType type, const QString& name, const QString& label, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setObjectName(name);
    button->setAccessibleName(label);
    button->setFixedSize(kArrowWidth, kArrowHeight);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

SpinButtons::SpinButtons(const QString& name, const QString& accessibleLabel, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setAccessibleName(accessibleLabel);
    m_up = arrow(Qt::UpArrow, name + QStringLiteral("Up"), accessibleLabel + QStringLiteral(" +"),
                 this);
    m_down = arrow(Qt::DownArrow, name + QStringLiteral("Down"),
                   accessibleLabel + QStringLiteral(" -"), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { Q_EMIT stepped(StepDirection::Up); });
    connect(m_down, &QToolButton::clicked, this, [this] { Q_EMIT stepped(StepDirection::Down); });
}

} // namespace starfall
