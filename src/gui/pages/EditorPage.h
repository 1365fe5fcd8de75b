#pragma once

// The part every tab of the main window shares: its own copy of the image
// session, what it does when an image is opened, the Cancel operation
// (re-read the current record or table from the image, discarding edits),
// and the keys of its controls: Enter presses nothing (in the search box it
// searches), and Ctrl+O and Ctrl+X reach the main window first.

#include "core/io/ImageSession.h"
#include "core/lists/ListFolders.h"

#include <QWidget>

#include <functional>
#include <string_view>

class QLineEdit;

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

    void setImageSession(const ImageSession& session) { m_session = session; }
    [[nodiscard]] const ImageSession& imageSession() const { return m_session; }
    // Where the session's list files are looked for.
    [[nodiscard]] ListFolders sessionListFolders() const {
        return listFoldersFor(m_session.programDirectory, m_session.imagePath);
    }

    // Where Ctrl+O and Ctrl+X typed on this page are passed on (may be null).
    void setOwner(PageOwner* owner) { m_owner = owner; }
    [[nodiscard]] PageOwner* owner() const { return m_owner; }

    // Where the trace lines of the page's loads go (code-page-949 bytes).
    void setTraceSink(TraceSink sink) { m_trace = std::move(sink); }
    [[nodiscard]] const TraceSink& traceSink() const { return m_trace; }

protected:
    // Once every control exists: Enter in `searchBox` runs `search`, Enter
    // anywhere else on the page does nothing.
    void watchKeys(QLineEdit* searchBox = nullptr, std::function<void()> search = {});
    void trace(std::string_view line) const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Passes every key press that reaches the page itself on to the owner.
    void keyPressEvent(QKeyEvent* event) override;

private:
    ImageSession m_session;
    PageOwner* m_owner = nullptr;
    TraceSink m_trace;
    QLineEdit* m_searchBox = nullptr;
    std::function<void()> m_search;
    bool m_redelivering = false;
};

} // namespace starfall
