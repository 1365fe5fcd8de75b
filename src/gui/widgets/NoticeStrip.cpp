#include "gui/widgets/NoticeStrip.h"

#include <QFont>
#include <QLabel>
#include <QString>

namespace starfall {

QLabel* noticeStrip(QWidget* parent, const QFont& font, const QString& text,
                    NoticeText background, const char* objectName) {
    auto* strip = new QLabel(parent);
    strip->setObjectName(QString::fromLatin1(objectName));
    strip->setFont(font);
    strip->setAlignment(Qt::AlignCenter);
    strip->setStyleSheet(QStringLiteral("QLabel { background-color: rgb(255, 255, 200); "
                                        "color: black; border: none; padding: 0px; }"));
    if (background == NoticeText::OnWhite) {
        strip->setTextFormat(Qt::RichText);
        strip->setText(QStringLiteral("<span style=\"background-color: white;\">") +
                       text.toHtmlEscaped() + QStringLiteral("</span>"));
    } else {
        strip->setTextFormat(Qt::PlainText);
        strip->setText(text);
    }
    strip->setAccessibleName(text);
    return strip;
}

} // namespace starfall
