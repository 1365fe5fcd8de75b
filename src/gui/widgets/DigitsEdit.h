#pragma once

// The digits-only edit box of every page and dialog. Typing, pasting and
// dropping can only add digits: a change that would bring in any other
// character is refused whole. A minus sign in front of a value the program
// shows (a weapon's negative hit) stays, and digits can be typed around it.

#include <QLineEdit>
#include <QValidator>

namespace starfall {

class DigitsValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    // Whether the text the program last showed began with a minus sign.
    void setSignShown(bool shown) { m_signShown = shown; }
    // Whether the field takes negative values: then a leading minus can
    // always be typed.
    void setSignAllowed(bool allowed) { m_signAllowed = allowed; }

    State validate(QString& input, int& position) const override;

private:
    bool m_signShown = false;
    bool m_signAllowed = false;
};

class DigitsEdit : public QLineEdit {
    Q_OBJECT
public:
    DigitsEdit(const QString& objectName, QWidget* parent);

    // Shows a value as a load or a step gives it (a minus sign included).
    void showText(const QString& text);
    // For a field that takes negative values.
    void allowSign() { m_validator->setSignAllowed(true); }

    // Room for a 16-bit value, the widest a record holds, rather than a
    // line edit's room for a sentence.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

private:
    DigitsValidator* m_validator = nullptr;
};

} // namespace starfall
