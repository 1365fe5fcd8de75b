#pragma once

// The part every tab of the main window shares: its own copy of the image
// session, and the Cancel operation (re-read the current record or table
// from the image, discarding edits).

#include "image/ImageSession.h"

#include <QWidget>

namespace starfall {

class PageOwner;

// What screen readers announce for the search box of both record pages,
// which has no label of its own.
inline const char* const kSearchBoxName = "검색";

class EditorPage : public QWidget {
    Q_OBJECT
public:
    explicit EditorPage(QWidget* parent = nullptr) : QWidget(parent) {}

    void setImageSession(const ImageSession& session) { m_session = session; }
    [[nodiscard]] const ImageSession& imageSession() const { return m_session; }

    // The Cancel button's operation.
    virtual void reloadFromImage() = 0;

    // Where Ctrl+O and Ctrl+X typed on this page are passed on (may be null).
    void setOwner(PageOwner* owner) { m_owner = owner; }
    [[nodiscard]] PageOwner* owner() const { return m_owner; }

protected:
    // Passes every key press on to the owner, when there is one, so that the
    // owner's Ctrl+O and Ctrl+X work from inside the page.
    void keyPressEvent(QKeyEvent* event) override;

private:
    ImageSession m_session;
    PageOwner* m_owner = nullptr;
};

} // namespace starfall
