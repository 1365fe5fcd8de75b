#include "gui/widgets/CoreErrorReport.h"

#include "gui/widgets/MessagePresenter.h"
#include "core/text/Messages.h"

#include <cstdio>
#include <cstdlib>

namespace starfall {

namespace {

ProgramEndHandler& endHandler() {
    static ProgramEndHandler handler;
    return handler;
}

} // namespace

void setProgramEndHandler(ProgramEndHandler handler) {
    endHandler() = std::move(handler);
}

void endProgram(int status) {
    if (endHandler())
        endHandler()(status);
    std::fflush(nullptr);
    std::exit(status);
}

void reportCoreError(QWidget* parent, const CoreError& error) {
    messagePresenter().show(parent, messageFor(error));
    if (error.endsProgram())
        endProgram(1);
}

bool runReportingErrors(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const CoreError& error) {
        reportCoreError(parent, error);
        return false;
    }
}

} // namespace starfall
