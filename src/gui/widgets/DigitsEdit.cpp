#include "gui/widgets/DigitsEdit.h"

namespace starfall {

QValidator::State DigitsValidator::validate(QString& input, int& /*position*/) const {
    const qsizetype first = (m_signShown || m_signAllowed) && input.startsWith(u'-') ? 1 : 0;
    for (qsizetype i = first; i < input.size(); ++i) {
        if (input[i] < u'0' || input[i] > u'9')
            return Invalid;
    }
    return Acceptable;
}

DigitsEdit::DigitsEdit(const QString& objectName, QWidget* parent)
    : QLineEdit(parent), m_validator(new DigitsValidator(this)) {
    setObjectName(objectName);
    setValidator(m_validator);
}

QSize DigitsEdit::sizeHint() const {
    ensurePolished();
    const QSize lineHint = QLineEdit::sizeHint();
    // A line edit's hint is its text room plus frame and margins; swap the
    // room for that of "65535" and a cursor.
    const int textRoom = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 17;
    const int widest = fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 2;
    return {lineHint.width() - textRoom + widest, lineHint.height()};
}

void DigitsEdit::showText(const QString& text) {
    // The validator must know of the sign before the text arrives: a text it
    // refuses would be shown anyway and leave the box unchecked until the
    // next valid change.
    m_validator->setSignShown(text.startsWith(u'-'));
    setText(text);
}

} // namespace starfall
