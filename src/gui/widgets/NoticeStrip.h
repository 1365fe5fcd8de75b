#pragma once

// The pale-yellow notice strip that the upgrade page and the skill editor
// paint: drawn off-screen, the text centred in black.

#include <QPixmap>

class QFont;
class QString;

namespace starfall {

enum class NoticeText { Transparent, OnWhite }; // the text cell's background

[[nodiscard]] QPixmap noticeStrip(int width, int height, const QFont& font, const QString& text,
                                  NoticeText background);

} // namespace starfall
