// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/CloseOnSignal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <utility>

#include "platform/ExitRequest.h"
#include "platform/gui/InputBlock.h"

namespace rostrix {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only do async-signal-safe work: it wakes the event loop through a socket.
int wakeFds[2] = {-1, -1};
CloseOnSignal* g_instance = nullptr;

void setHandlers(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals) sigaction(s, &action, nullptr);
}

// The first signal asks the event loop to close the windows; a second one ends the program
// here and now, whatever the window thread is doing (waiting on a script, a server, a
// dialog), and takes a script run with it.
extern "C" void wakeOnSignal(int signal) {
    const int saved = errno;
    if (exitRequested()) {
        endProcessGroupNow();
        setHandlers(SIG_DFL);
        ::raise(signal);  // delivered as the handler returns
    } else {
        markExitRequested();
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFds[1], &byte, 1);
    }
    errno = saved;
}

}  // namespace

void closeForExit(QWidget* mainWindow) {
    // A long step that takes no input ends by itself when it sees the request, and the
    // closing goes on when its block ends.
    if (InputBlock::active()) return;
    while (QWidget* w = QApplication::activeModalWidget()) {
        if (w == mainWindow) return;
        // A dialog is dismissed as Esc dismisses it, even one whose close is under way (its
        // question still open) or a question box without an escape button, which ignores a
        // close; it then answers as one closed without a choice.
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else
            w->close();
        if (w->isVisible()) return;  // it refused
    }
    mainWindow->close();
}

CloseOnSignal::CloseOnSignal(std::function<void()> closeProgram)
    : closeProgram_(std::move(closeProgram)) {
    // Without the socket the signals keep their default effect.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakeFds) != 0) return;
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { signalled(); });
    setHandlers(wakeOnSignal);
    g_instance = this;
}

CloseOnSignal::~CloseOnSignal() {
    if (!notifier_) return;
    setHandlers(SIG_DFL);
    g_instance = nullptr;
    clearExitRequest();
    delete notifier_;
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

void CloseOnSignal::signalled() {
    char drained[16];
    while (::read(wakeFds[0], drained, sizeof drained) > 0) {
    }
    closeProgram_();
}

void resumeExit() {
    if (!exitRequested() || !g_instance) return;
    QTimer::singleShot(0, g_instance, [] {
        if (g_instance) g_instance->closeProgram_();
    });
}

}  // namespace rostrix
