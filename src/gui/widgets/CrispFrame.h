#pragma once

// At a fractional scale factor a list's one-pixel frame line can fall half a
// device pixel outside the area its widget may paint, and the children it
// frames then paint over what is left: the list shows no border at all.

class QFrame;

namespace starfall {

// Keeps `frame`'s border visible at any scale: where the device pixel ratio
// is fractional, a child above the frame's own children repaints the line on
// the outermost whole device pixels inside the widget. At whole ratios the
// style's frame is left as it is.
void keepFrameCrisp(QFrame* frame);

} // namespace starfall
