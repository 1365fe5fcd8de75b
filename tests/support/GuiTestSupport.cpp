#include "support/GuiTestSupport.h"

#include "gui/widgets/CoreErrorReport.h"

namespace starfall::test {

RecordingPresenter::RecordingPresenter() {
    setMessagePresenter(this);
}
RecordingPresenter::~RecordingPresenter() {
    setMessagePresenter(nullptr);
}

void RecordingPresenter::show(QWidget*, const Message& message) {
    shown.push_back(message);
}

bool RecordingPresenter::confirm(QWidget*, const Message& question) {
    shown.push_back(question);
    return confirmAnswer;
}

EditsChoice RecordingPresenter::ask(QWidget*, const Message& question) {
    asked.push_back(question);
    if (answers.empty())
        return EditsChoice::Discard;
    const EditsChoice answer = answers.front();
    answers.pop_front();
    return answer;
}

ScriptedFileDialog::ScriptedFileDialog() {
    setImageFileDialog(this);
}
ScriptedFileDialog::~ScriptedFileDialog() {
    setImageFileDialog(nullptr);
}

std::optional<QString> ScriptedFileDialog::chooseImage(QWidget*) {
    ++asked;
    if (answers.empty())
        return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedFileDialog::choosePatchFile(QWidget* parent, PatchFileUse) {
    return chooseImage(parent);
}

ProgramEndCatcher::ProgramEndCatcher() {
    setProgramEndHandler([](int status) { throw ProgramEnded{status}; });
}
ProgramEndCatcher::~ProgramEndCatcher() {
    setProgramEndHandler({});
}

} // namespace starfall::test
