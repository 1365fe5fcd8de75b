#pragma once

// The pale-yellow notice strip of the upgrade page and the skill editor: a
// label, so that screen readers read it, with the text centred in black. Its
// owner places it (it stays out of the layouts).

class QFont;
class QLabel;
class QString;
class QWidget;

namespace starfall {

enum class NoticeText { Transparent, OnWhite }; // the text cell's background

// `objectName` ASCII.
[[nodiscard]] QLabel* noticeStrip(QWidget* parent, const QFont& font, const QString& text,
                                  NoticeText background, const char* objectName);

} // namespace starfall
