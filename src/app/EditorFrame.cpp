#include "app/EditorFrame.h"

#include <QWidget>

namespace starfall {

void fixDialogFrame(QWidget* window) {
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The size every control asks for, so that nothing is cut at any scale.
    window->setFixedSize(window->sizeHint());
}

} // namespace starfall
