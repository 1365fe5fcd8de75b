#include "gui/widgets/NoticeStrip.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

namespace starfall {

QPixmap noticeStrip(int width, int height, const QFont& font, const QString& text,
                    NoticeText background) {
    QPixmap strip(width, height);
    strip.fill(QColor(255, 255, 200));
    QPainter painter(&strip);
    painter.setFont(font);
    painter.setPen(Qt::black);
    if (background == NoticeText::OnWhite) {
        painter.setBackground(Qt::white);
        painter.setBackgroundMode(Qt::OpaqueMode);
    }
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, text);
    painter.end();
    return strip;
}

} // namespace starfall
