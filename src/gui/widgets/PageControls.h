#pragma once

// Controls every page and dialog builds alike: a push button that Enter never
// presses, the label that shows the current record's name, and a row of
// buttons at the right.

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace starfall {

// `text` UTF-8, `objectName` ASCII.
[[nodiscard]] QPushButton* pageButton(const char* text, const char* objectName, QWidget* parent);

// Centred, in the blue the pages show a record's name in.
[[nodiscard]] QLabel* recordNameLabel(QWidget* parent);

// The buttons in order, pushed to the right.
[[nodiscard]] QHBoxLayout* buttonRow(QPushButton* first, QPushButton* second);

} // namespace starfall
