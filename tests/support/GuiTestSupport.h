#pragma once

// Stand-ins for the editor's seams, so that a GUI test never waits on a modal
// message box or file dialog and never ends the test process. Each one installs
// itself for its lifetime.

#include "gui/widgets/ImageFileDialog.h"
#include "gui/widgets/MessagePresenter.h"

#include <QEvent>
#include <QObject>

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace starfall::test {

// Records every message instead of showing it.
class RecordingPresenter : public MessagePresenter {
public:
    RecordingPresenter();
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;
    ~RecordingPresenter() override;

    void show(QWidget* parent, const Message& message) override;
    // Records the question with the messages and answers `confirmAnswer`.
    [[nodiscard]] bool confirm(QWidget* parent, const Message& question) override;
    // Answers from `answers`, front first; discard once they run out.
    EditsChoice ask(QWidget* parent, const Message& question) override;

    std::vector<Message> shown;
    bool confirmAnswer = true;
    std::vector<Message> asked;
    std::deque<EditsChoice> answers;
};

// Answers the file dialogs from a queue: a path, or nothing for Cancel.
// An empty queue answers Cancel.
class ScriptedFileDialog : public ImageFileDialog {
public:
    ScriptedFileDialog();
    ScriptedFileDialog(const ScriptedFileDialog&) = delete;
    ScriptedFileDialog& operator=(const ScriptedFileDialog&) = delete;
    ~ScriptedFileDialog() override;

    [[nodiscard]] std::optional<QString> chooseImage(QWidget* parent) override;
    // Patch files come from the same queue.
    [[nodiscard]] std::optional<QString> choosePatchFile(QWidget* parent,
                                                         PatchFileUse use) override;

    std::deque<std::optional<QString>> answers;
    int asked = 0;
};

// What a test catches where the program would have ended.
struct ProgramEnded {
    int status;
};

// Makes endProgram throw ProgramEnded instead of exiting.
class ProgramEndCatcher {
public:
    ProgramEndCatcher();
    ProgramEndCatcher(const ProgramEndCatcher&) = delete;
    ProgramEndCatcher& operator=(const ProgramEndCatcher&) = delete;
    ~ProgramEndCatcher();
};

// Counts the paint events of every widget it watches.
struct PaintCounter : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++painted[watched];
        return false;
    }
    std::map<QObject*, int> painted;
};

// All three at once: the usual fixture member of a page test.
struct GuiSeams {
    RecordingPresenter messages;
    ScriptedFileDialog files;
    ProgramEndCatcher ending;
};

} // namespace starfall::test
