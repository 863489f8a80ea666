// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <thread>

#include "app/Forms.h"
#include "platform/ExitRequest.h"
#include "platform/gui/CloseOnSignal.h"
#include "platform/gui/ProgramIcon.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

// The icon holds every rendered size, and every window the program creates shows it.
TEST(ProgramWindows, EveryWindowCarriesTheProgramIconInEverySize) {
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {128, 128}, {256, 256}};
    EXPECT_EQ(programIcon().availableSizes(), sizes);

    test::TempFolder home(true);
    installProgramIcon();
    createForms();
    const qint64 programIconKey = QApplication::windowIcon().cacheKey();
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), sizes);
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_EQ(w->windowIcon().cacheKey(), programIconKey) << w->objectName().toStdString();
        ++windows;
    }
    EXPECT_GE(windows, 5);
    destroyForms();
}

class Window : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        QWidget::closeEvent(event);
    }
};

class StubbornDialog : public QDialog {
public:
    using QDialog::QDialog;
    bool refuse = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuse)
            event->ignore();
        else
            QDialog::closeEvent(event);
    }
};

// Closing for exit takes down the window shown over the main window first, then the main
// window through its close handler; a window that refuses to close keeps the program open.
TEST(ProgramWindows, CloseForExitClosesModalWindowsThenTheMainWindow) {
    for (const bool refuse : {false, true}) {
        SCOPED_TRACE(refuse ? "dialog refuses" : "dialog closes");
        Window main;
        main.show();
        StubbornDialog dialog(&main);
        dialog.refuse = refuse;
        QTimer::singleShot(0, &dialog, [&] {
            closeForExit(&main);
            if (dialog.isVisible()) dialog.done(QDialog::Accepted);
        });
        EXPECT_EQ(dialog.exec(), refuse ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(main.closes, refuse ? 0 : 1);
        EXPECT_EQ(main.isVisible(), refuse);
    }
}

// The window thread is stuck (in a script run, a dialog, a slow server) and never gets back
// to the event loop: the first signal only asks for the close, the second ends the program
// at once.
TEST(ProgramWindowsDeathTest, ASecondSignalEndsTheProgramWhileTheWindowThreadIsBlocked) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto blockedWindowThread = [] {
        const CloseOnSignal closeOnSignal([] { std::fputs("closed from the loop\n", stderr); });
        sigset_t ending;
        sigemptyset(&ending);
        sigaddset(&ending, SIGTERM);
        sigaddset(&ending, SIGHUP);
        std::thread sender([&] {
            // Delivered to the window thread, the one thread that takes them.
            pthread_sigmask(SIG_BLOCK, &ending, nullptr);
            ::kill(::getpid(), SIGTERM);
            while (!exitRequested()) std::this_thread::yield();
            std::fputs("asked to close\n", stderr);
            ::kill(::getpid(), SIGHUP);
        });
        for (;;) ::pause();
    };
    EXPECT_EXIT(blockedWindowThread(), testing::KilledBySignal(SIGHUP), "asked to close\n$");
}

}  // namespace
}  // namespace rostrix
