#pragma once

// Digits-only typing for an edit box: a typed character that is not a digit is
// dropped. Only the keyboard is filtered; a value put in by the program (a
// loaded "-1", a negative hit) is shown as it is and can be typed onto.

#include <QObject>

class QLineEdit;

namespace starfall {

class DigitKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit DigitKeyFilter(QObject* parent = nullptr) : QObject(parent) {}

    // Filters the keys typed into `widget` (an edit, or a spin box around one).
    static void install(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace starfall
