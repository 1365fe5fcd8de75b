#pragma once

// Long work (a comparison over two images, a patch's plan) runs on a worker
// thread while the window stays drawn. Past a delay, half a second unless a
// test sets another, a modal progress dialog with Cancel shows how far it
// has come; Cancel stops the work at its next report, before it writes.

#include "core/io/WorkProgress.h"

#include <QString>

#include <functional>

class QProgressDialog;
class QWidget;

namespace starfall {

enum class WorkEnd { Finished, Cancelled };

// Runs `work` on a worker thread and waits for it, handling events. What the
// work throws is thrown again here, on the GUI thread. Cancelled when Cancel
// was pressed at any time before the work ended, so that the caller writes
// nothing after it.
WorkEnd runInBackground(QWidget* parent, const QString& label,
                        const std::function<void(const WorkProgress&)>& work);

// How long work runs before its progress dialog shows (milliseconds); tests
// set 0 to see the dialog at once.
void setProgressDelay(int milliseconds);
// Called with the progress dialog as it shows, before the work starts when
// the delay is 0 (tests press Cancel there); empty to stop.
void setProgressShownHook(std::function<void(QProgressDialog*)> hook);

} // namespace starfall
