#pragma once

// How every page and dialog reports a core failure: the failure's message
// through the message presenter, then, for a load that cannot open its image
// or a missing list file, the end of the program with exit status 1.

#include "core/io/CoreError.h"

#include <functional>

class QWidget;

namespace starfall {

// Shows messageFor(error); if error.endsProgram(), does not return.
void reportCoreError(QWidget* parent, const CoreError& error);

// Ends the process with `status` at once: nothing further is loaded or saved.
[[noreturn]] void endProgram(int status);

// What endProgram does instead of exiting (tests: throw, to stop the caller).
// The handler must not return; an empty handler restores the exit.
using ProgramEndHandler = std::function<void(int status)>;
void setProgramEndHandler(ProgramEndHandler handler);

// Runs `action`; a CoreError it throws is reported as above. Returns whether
// the action finished without one.
bool runReportingErrors(QWidget* parent, const std::function<void()>& action);

} // namespace starfall
