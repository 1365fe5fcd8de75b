#pragma once

// The one way the program shows a message box. Every page and dialog calls
// messagePresenter().show(...) or .ask(...); tests install their own presenter
// so that no modal box ever waits for a click.

#include "core/text/Messages.h"

class QWidget;

namespace starfall {

// The answers to the question before edits not yet saved would be lost.
enum class EditsChoice { Save, Discard, Cancel };

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Modal, one OK button, owned by `parent` (may be null). Returns when the
    // user has dismissed it.
    virtual void show(QWidget* parent, const Message& message) = 0;
    // Modal, Yes and No buttons: true for Yes.
    [[nodiscard]] virtual bool confirm(QWidget* parent, const Message& question) = 0;
    // Modal, with the buttons save, discard and cancel; closing the box
    // cancels.
    virtual EditsChoice ask(QWidget* parent, const Message& question) = 0;
};

// The presenter in use: the installed one, or the message-box one.
[[nodiscard]] MessagePresenter& messagePresenter();

// Replaces the presenter until the next call; null restores the default. The
// caller keeps ownership and keeps it alive while it is installed.
void setMessagePresenter(MessagePresenter* presenter);

// Shows message boxes, except on a display nobody can click (the offscreen
// platform), where the text goes to standard error instead of blocking and a
// question is answered with discard, so that nothing waits for an answer.
class BoxMessagePresenter : public MessagePresenter {
public:
    void show(QWidget* parent, const Message& message) override;
    // Offscreen, nobody can answer: No.
    [[nodiscard]] bool confirm(QWidget* parent, const Message& question) override;
    EditsChoice ask(QWidget* parent, const Message& question) override;
};

} // namespace starfall
