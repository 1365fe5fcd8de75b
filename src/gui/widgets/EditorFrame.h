#pragma once

// The frame of every window of the editor: a dialog's frame with caption,
// system menu and close box but no minimise or maximise box, at a fixed size
// in which every control shows whole.

class QIcon;
class QWidget;

namespace starfall {

// The icon every window of the editor carries.
[[nodiscard]] QIcon editorIcon();

// Call once the window's controls and layout exist.
void fixDialogFrame(QWidget* window);

// Shows `window` with its layouts settled. Showing sets off a chain of
// relayouts (a tab bar measures its tabs, each layout then tells its parent)
// that would otherwise run after the first paint and paint everything twice.
void showSettled(QWidget& window);

} // namespace starfall
