#include "gui/widgets/CrispFrame.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>

#include <cmath>

namespace starfall {

namespace {

bool isFractional(qreal ratio) {
    return std::abs(ratio - std::round(ratio)) > 1e-6;
}

// The tone the style draws list frames in, taken from the same palette role.
QColor frameTone(const QPalette& palette) {
    return palette.window().color().darker(140).lighter(108);
}

class FrameLine : public QWidget {
public:
    explicit FrameLine(QFrame* framed) : QWidget(framed), m_framed(framed) {
        setObjectName(QStringLiteral("frameLine"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        framed->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_framed && (event->type() == QEvent::Resize ||
                                    event->type() == QEvent::ChildAdded ||
                                    event->type() == QEvent::Show))
            follow();
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent*) override {
        const qreal ratio = devicePixelRatioF();
        if (m_framed->frameWidth() == 0)
            return;
        // Where this widget's edges fall in the window's device pixels, and
        // the first and last whole pixels inside them.
        const QPointF origin = mapTo(window(), QPointF(0, 0)) * ratio;
        const qreal left = (std::ceil(origin.x()) - origin.x()) / ratio;
        const qreal top = (std::ceil(origin.y()) - origin.y()) / ratio;
        const qreal right =
            (std::floor(origin.x() + width() * ratio) - 1 - origin.x()) / ratio;
        const qreal bottom =
            (std::floor(origin.y() + height() * ratio) - 1 - origin.y()) / ratio;
        const qreal pixel = 1 / ratio;
        QPainter painter(this);
        const QColor tone = frameTone(palette());
        painter.fillRect(QRectF(left, top, right + pixel - left, pixel), tone);
        painter.fillRect(QRectF(left, bottom, right + pixel - left, pixel), tone);
        painter.fillRect(QRectF(left, top, pixel, bottom + pixel - top), tone);
        painter.fillRect(QRectF(right, top, pixel, bottom + pixel - top), tone);
    }

private:
    // Covers the whole frame and stays above the children added after it;
    // hidden, and so never painted, where the style's line lands whole.
    void follow() {
        setVisible(isFractional(m_framed->devicePixelRatioF()));
        if (geometry() != m_framed->rect())
            setGeometry(m_framed->rect());
        raise();
    }

    QFrame* m_framed;
};

} // namespace

void keepFrameCrisp(QFrame* frame) {
    new FrameLine(frame);
}

} // namespace starfall
