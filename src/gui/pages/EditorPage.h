#pragma once

// The part every tab of the main window shares: its own copy of the image
// session, what it does when an image is opened, the Cancel operation
// (re-read the current record or table from the image, discarding edits),
// whether it holds unsaved edits, and the keys of its controls: Enter presses
// nothing (in the search box it searches), Ctrl+O reaches the main window
// first, and so does Ctrl+X except in a text box, where it cuts.

#include "core/io/ImageSession.h"
#include "core/lists/ListFiles.h"
#include "core/lists/ListFolders.h"
#include "core/lists/NameList.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QLineEdit;
class QPushButton;

namespace starfall {

class PageOwner;

using TraceSink = std::function<void(std::string_view line)>;

class EditorPage : public QWidget {
    Q_OBJECT
public:
    explicit EditorPage(QWidget* parent = nullptr) : QWidget(parent) {}

    // An image has been chosen: the page takes its session and loads.
    virtual void openImage(const ImageSession& session) = 0;
    // The Cancel button's operation.
    virtual void reloadFromImage() = 0;
    // The OK button's operation: whether the shown record is saved now (a
    // refused or failed save leaves the edits on screen).
    virtual bool saveEdits() = 0;
    // Whether the controls hold values the shown record was not loaded or
    // last saved with.
    [[nodiscard]] virtual bool hasUnsavedEdits() const = 0;
    // The list rows whose record lies past the image's end (a page with a
    // list marks them).
    virtual void markPastEnd(const std::vector<std::size_t>& /*rows*/) {}

    // Asks the three-way question when the shown record has unsaved edits:
    // whether the page may go on to show something else (saved or discarded).
    [[nodiscard]] bool mayLeaveRecord();

    // Whether the image can be written; without, the save buttons are off and
    // say why.
    void setWritable(bool writable);
    [[nodiscard]] bool writable() const { return m_writable; }

    void setImageSession(const ImageSession& session) { m_session = session; }
    [[nodiscard]] const ImageSession& imageSession() const { return m_session; }
    // Where the session's list files are looked for.
    [[nodiscard]] ListFolders sessionListFolders() const {
        return listFoldersFor(m_session.programDirectory, m_session.imagePath);
    }

    // The page's list as the image's survey has just read it: the page's
    // next load shows it instead of reading the file again.
    void handOverList(NameList list) { m_listAsRead = std::move(list); }

    // Where Ctrl+O and Ctrl+X typed on this page are passed on (may be null).
    void setOwner(PageOwner* owner) { m_owner = owner; }
    [[nodiscard]] PageOwner* owner() const { return m_owner; }

    // Where the trace lines of the page's loads go (code-page-949 bytes).
    void setTraceSink(TraceSink sink) { m_trace = std::move(sink); }
    [[nodiscard]] const TraceSink& traceSink() const { return m_trace; }

Q_SIGNALS:
    // The page gained or lost unsaved edits.
    void unsavedEditsChanged(bool unsaved);

protected:
    // Once every control exists: Enter in `searchBox` runs `search`, Enter
    // anywhere else on the page does nothing.
    void watchKeys(QLineEdit* searchBox = nullptr, std::function<void()> search = {});
    // Once every control exists: every change of a control's value checks
    // whether the page now holds unsaved edits.
    void watchEdits();
    // After a load or a save (the shown values are the record's) and after
    // each change of a control's value.
    void noteEditState();
    // The buttons that save; off while the image cannot be written.
    void setSaveButtons(std::vector<QPushButton*> buttons);
    // Enables a save button unless the image cannot be written.
    void enableSave(QPushButton* button, bool enabled) const;
    void trace(std::string_view line) const;
    // The session's list of `kind`: the one handed over, once; otherwise read
    // from its file now (throwing as loadNameList throws).
    [[nodiscard]] NameList takeSessionList(ListKind kind);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Passes every key press that reaches the page itself on to the owner.
    void keyPressEvent(QKeyEvent* event) override;

private:
    ImageSession m_session;
    std::optional<NameList> m_listAsRead;
    PageOwner* m_owner = nullptr;
    TraceSink m_trace;
    QLineEdit* m_searchBox = nullptr;
    std::function<void()> m_search;
    bool m_redelivering = false;
    bool m_unsaved = false;
    bool m_editsDiscarded = false; // asked and discarded, not yet reloaded
    bool m_writable = true;
    std::vector<QPushButton*> m_saveButtons;
};

} // namespace starfall
