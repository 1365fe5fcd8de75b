#include "gui/widgets/BackgroundWork.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <limits>
#include <memory>

namespace starfall {

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kBarSteps = 1000;

int g_delay = 500;
std::function<void(QProgressDialog*)> g_shownHook;

// What the worker tells the GUI thread, and the GUI thread's Cancel.
struct Shared {
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> total{0};
    std::atomic<bool> cancelled{false};
    std::exception_ptr failure;
};

QProgressDialog* makeDialog(QWidget* parent, const QString& label, Shared& shared) {
    auto* dialog = new QProgressDialog(label, QStringLiteral("취소"), 0, kBarSteps, parent);
    dialog->setObjectName(QStringLiteral("progressDialog"));
    dialog->setAccessibleName(label);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    // Shown by the delay below alone: the dialog's own timer would show it
    // at its minimum duration, and setValue at once with a duration of 0.
    dialog->setMinimumDuration(std::numeric_limits<int>::max());
    dialog->reset();
    QObject::connect(dialog, &QProgressDialog::canceled,
                     [&shared] { shared.cancelled = true; });
    return dialog;
}

void show(QProgressDialog* dialog) {
    dialog->show();
    if (g_shownHook)
        g_shownHook(dialog);
}

// Cancel pressed, or cancel() called, either way.
void update(QProgressDialog* dialog, Shared& shared) {
    if (dialog->wasCanceled())
        shared.cancelled = true;
    const std::int64_t total = shared.total;
    if (total > 0)
        dialog->setValue(static_cast<int>(shared.done * kBarSteps / total));
}

} // namespace

WorkEnd runInBackground(QWidget* parent, const QString& label,
                        const std::function<void(const WorkProgress&)>& work) {
    Shared shared;
    std::unique_ptr<QProgressDialog> dialog(makeDialog(parent, label, shared));
    if (g_delay <= 0) {
        show(dialog.get());
        update(dialog.get(), shared);
    }
    const WorkProgress progress([&shared](std::int64_t done, std::int64_t total) {
        shared.done = done;
        shared.total = total;
        return !shared.cancelled;
    });
    bool cancelled = false;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            progress.report(0, 0); // a Cancel pressed before the start stops it here
            work(progress);
        } catch (const WorkCancelled&) {
            cancelled = true;
        } catch (...) {
            shared.failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialog->isVisible() && clock.elapsed() >= g_delay)
            show(dialog.get());
        update(dialog.get(), shared);
    });
    poll.start(kPollMilliseconds);
    thread->start();
    loop.exec();
    thread->wait();
    update(dialog.get(), shared);
    dialog->hide();
    if (shared.failure)
        std::rethrow_exception(shared.failure);
    // Work that reports little (a patch's make) may end after Cancel was
    // pressed: it still counts as cancelled, so that nothing is written.
    return cancelled || shared.cancelled ? WorkEnd::Cancelled : WorkEnd::Finished;
}

void setProgressDelay(int milliseconds) {
    g_delay = milliseconds;
}

void setProgressShownHook(std::function<void(QProgressDialog*)> hook) {
    g_shownHook = std::move(hook);
}

} // namespace starfall
