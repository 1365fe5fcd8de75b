#pragma once

// For the start-up benchmark (bench/startup.sh): with the environment
// variable STARFALL_QUIT_AFTER_FIRST_PAINT set, the program prints the main
// window's size and ends as soon as the window's first paint, and whatever
// that paint left queued, is done. Without it, nothing changes.

class QWidget;

namespace starfall {

void quitAfterFirstPaintIfAsked(QWidget& window);

} // namespace starfall
