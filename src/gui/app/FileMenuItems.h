#pragma once

// Items other parts of the window add to the File menu ("fileMenu"), each
// group placed before "종료" and closed by a separator.

#include <QString>

class QAction;
class QMainWindow;

namespace starfall {

// A new item, disabled until its owner enables it.
QAction* addFileMenuItem(QMainWindow& window, const QString& text, const char* name);
// Closes the items added so far with a separator before "종료".
void closeFileMenuGroup(QMainWindow& window);

} // namespace starfall
