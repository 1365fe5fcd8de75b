#include "unit/DigitKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace starfall {

namespace {

// A key press that would insert text other than digits. Control and editing
// keys (no text, or Ctrl held for copy and paste) pass.
bool typesNonDigit(const QKeyEvent& key) {
    if (key.modifiers().testFlag(Qt::ControlModifier))
        return false;
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return true;
    }
    return false;
}

} // namespace

void DigitKeyFilter::install(QWidget* widget) {
    widget->installEventFilter(new DigitKeyFilter(widget));
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && typesNonDigit(static_cast<QKeyEvent&>(*event)))
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace starfall
