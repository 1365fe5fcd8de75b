#include "gui/app/FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace starfall {

namespace {

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            const auto* window = static_cast<QWidget*>(watched);
            std::printf("%dx%d\n", window->width(), window->height());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};

} // namespace

void quitAfterFirstPaintIfAsked(QWidget& window) {
    if (qEnvironmentVariableIsSet("STARFALL_QUIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(new FirstPaintProbe(&window));
}

} // namespace starfall
