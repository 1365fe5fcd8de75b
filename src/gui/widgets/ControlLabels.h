#pragma once

// How a control gets the name a screen reader announces. On Linux a
// drop-down that shows an item is announced by that item, so its name has to
// come from a label relation: a label whose buddy it is.

class QLabel;
class QString;
class QWidget;

namespace starfall {

// A visible caption for `control` (the control's sibling, to be laid out
// beside it): its buddy, object name `<control>Label`, and the control's name.
[[nodiscard]] QLabel* captionFor(const QString& text, QWidget* control);

// A hidden caption for a control in a row under shared column headings
// ("技能 3", "精神 2"), so that each row's controls are told apart.
void nameRow(QWidget* control, const QString& name);

} // namespace starfall
