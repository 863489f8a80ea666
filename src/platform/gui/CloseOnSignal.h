// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

class QSocketNotifier;

namespace rostrix {

// Closes the windows shown over the main window, newest first, then the main window: what a
// user would do to quit (a dialog is dismissed as Esc would). Stops, leaving the main window
// open, at a window that refuses.
void closeForExit(QWidget* mainWindow);

// After a signal asked the program to end, a step that held the closing up (a transfer,
// a script run, a window that closes only when its transfer is over) calls this when it is
// done: the closing goes on from the event loop. Does nothing otherwise.
void resumeExit();

// While it lives, SIGTERM (log-out, kill), SIGINT (Ctrl+C in a terminal) and SIGHUP (the
// terminal went away) run closeProgram from the event loop, so the program's closing
// handlers run and it ends normally instead of being cut off; exitRequested() is true from
// then on. A second signal ends the program at once, in the handler itself, even while the
// window thread is blocked.
class CloseOnSignal : public QObject {
    friend void resumeExit();

public:
    explicit CloseOnSignal(std::function<void()> closeProgram);
    ~CloseOnSignal() override;
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    void signalled();

    std::function<void()> closeProgram_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace rostrix
