#include "app/EditorPage.h"

#include "app/PageOwner.h"

#include <QKeyEvent>

namespace starfall {

void EditorPage::keyPressEvent(QKeyEvent* event) {
    if (m_owner == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_owner->handleKeyDown(event->key());
    event->accept();
}

} // namespace starfall
