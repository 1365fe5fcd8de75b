#pragma once

// The frame of every window of the editor: a dialog's frame with caption,
// system menu and close box but no minimise or maximise box, at a fixed size
// in which every control shows whole.

class QWidget;

namespace starfall {

// Call once the window's controls and layout exist.
void fixDialogFrame(QWidget* window);

} // namespace starfall
