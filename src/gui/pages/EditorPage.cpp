#include "gui/pages/EditorPage.h"

#include "gui/pages/PageOwner.h"

#include "core/lists/NameListReader.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/RecordSave.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace starfall {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isOwnerShortcut(const QKeyEvent* key) {
    return key->modifiers().testFlag(Qt::ControlModifier) &&
           (key->key() == Qt::Key_O || key->key() == Qt::Key_S || key->key() == Qt::Key_X);
}

// In a text box Ctrl+X is Cut, as everywhere else on the desktop.
bool cutsText(const QObject* watched, const QKeyEvent* key) {
    return key->key() == Qt::Key_X && qobject_cast<const QLineEdit*>(watched) != nullptr;
}

} // namespace

bool EditorPage::mayLeaveRecord() {
    if (m_editsDiscarded || !hasUnsavedEdits())
        return true;
    switch (messagePresenter().ask(this, messages::unsavedEdits())) {
    case EditsChoice::Save:
        return saveEdits();
    case EditsChoice::Discard:
        // The load that follows drops them; until then nothing asks again.
        m_editsDiscarded = true;
        return true;
    case EditsChoice::Cancel:
        break;
    }
    return false;
}

void EditorPage::setWritable(bool writable) {
    m_writable = writable;
    for (QPushButton* button : m_saveButtons) {
        button->setToolTip(writable ? QString() : readOnlySaveTip());
        if (!writable)
            button->setEnabled(false);
    }
}

void EditorPage::setSaveButtons(std::vector<QPushButton*> buttons) {
    m_saveButtons = std::move(buttons);
}

void EditorPage::enableSave(QPushButton* button, bool enabled) const {
    button->setEnabled(enabled && m_writable);
}

void EditorPage::watchEdits() {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit != m_searchBox)
            connect(edit, &QLineEdit::textChanged, this, &EditorPage::noteEditState);
    }
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::currentIndexChanged, this, &EditorPage::noteEditState);
    for (QListWidget* list : findChildren<QListWidget*>())
        connect(list, &QListWidget::itemChanged, this, &EditorPage::noteEditState);
}

void EditorPage::noteEditState() {
    m_editsDiscarded = false;
    const bool unsaved = hasUnsavedEdits();
    if (unsaved == m_unsaved)
        return;
    m_unsaved = unsaved;
    Q_EMIT unsavedEditsChanged(unsaved);
}

void EditorPage::watchKeys(QLineEdit* searchBox, std::function<void()> search) {
    m_searchBox = searchBox;
    m_search = std::move(search);
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

NameList EditorPage::takeSessionList(ListKind kind) {
    if (!m_listAsRead)
        return loadNameList(sessionListFolders(), kind);
    NameList list = std::move(*m_listAsRead);
    m_listAsRead.reset();
    return list;
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
    if (isOwnerShortcut(key) && m_owner != nullptr && !cutsText(watched, key)) {
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
