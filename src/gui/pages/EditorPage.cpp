#include "gui/pages/EditorPage.h"

#include "gui/pages/PageOwner.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace starfall {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isOwnerShortcut(const QKeyEvent* key) {
    return key->modifiers().testFlag(Qt::ControlModifier) &&
           (key->key() == Qt::Key_O || key->key() == Qt::Key_X);
}

} // namespace

void EditorPage::watchKeys(QLineEdit* searchBox, std::function<void()> search) {
    m_searchBox = searchBox;
    m_search = std::move(search);
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

void EditorPage::trace(std::string_view line) const {
    if (m_trace)
        m_trace(line);
}

// Ctrl+O and Ctrl+X reach the main window first, then the control handles
// them as it would (a line edit still cuts on Ctrl+X). The key is handed back
// to the control once, so that it does not reach the owner again on its way
// up through the control's parents.
bool EditorPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || m_redelivering)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (isEnter(key)) {
        if (watched == m_searchBox && m_search)
            m_search();
        key->accept();
        return true;
    }
    if (isOwnerShortcut(key) && m_owner != nullptr) {
        m_owner->handleKeyDown(key->key());
        m_redelivering = true;
        QCoreApplication::sendEvent(watched, key);
        m_redelivering = false;
        key->accept();
        return true;
    }
    return false;
}

void EditorPage::keyPressEvent(QKeyEvent* event) {
    // A shortcut handed back to its control, which let it through: the owner
    // has had it already.
    if (m_redelivering || isEnter(event)) {
        event->accept();
        return;
    }
    if (m_owner == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_owner->handleKeyDown(event->key());
    event->accept();
}

} // namespace starfall
