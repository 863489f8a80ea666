// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <functional>
#include <thread>

#include "app/Forms.h"
#include "platform/ExitRequest.h"
#include "platform/FolderListing.h"
#include "platform/gui/CloseOnSignal.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ProgramIcon.h"
#include "settings/HomeFolder.h"
#include "shell/tmTeamCommands.h"
#include "support/core/LoopbackServer.h"
#include "support/core/TempFolder.h"
#include "teamfile/tmEditor.h"
#include "update/tmDownload.h"

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
    void reject() override {
        if (!refuse) QDialog::reject();
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

// A log-out while something holds the close: a question, a transfer that stalls, a settings
// file that cannot be written. The program is started as it starts, the state is made from
// its event loop, then one SIGTERM: the program must end within three seconds (SIGALRM
// ends it otherwise), ask nothing, and lose nothing. A killed run's leftover goes at start.
TEST(ProgramWindowsDeathTest, OneSignalEndsTheProgramInThreeSecondsWhateverHoldsTheClose) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::LoopbackServer stalling([](int fd, const std::string&) {
        test::LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 99999\r\n\r\nPK");
        sigset_t all;  // the signals are the window thread's
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
        for (;;) ::sleep(60);  // the child ends before the server
    });
    const struct {
        std::function<void()> open;   // from the event loop, once the main window shows
        std::function<bool()> holds;  // the close is held now: the signal comes
        std::string files;            // the home folder's files afterwards, as "name=bytes;"
        const char* said = "";        // on standard error, where no box waits for a click
    } cases[] = {
        {[] { editTeam(theMainWindow(), homeFolder(), "team"); },
         [] {
             if (Form4->isVisible() && !Form4->Memo1()->document()->isModified()) {
                 QTextCursor(Form4->Memo1()->document()).insertText("new ");
                 QTimer::singleShot(0, Form4, [] { Form4->close(); });  // "Save Changes?"
             }
             return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
         },
         "kwyx.zip=old;qrdTeams.ini;recovered-team.dat=new old\r\n;team.dat=old\r\n;"},
        {[&] {
             Form10->SiteBase = stalling.url("/site");
             Form10->Timer1.setInterval(20);
             dialogs().showModal(Form10);
         },
         [] { return Form10->HttpClient1.bytesReceived() > 0; },
         "kwyx.zip=old;qrdTeams.ini;team.dat=old\r\n;"},
        {[] { ::chmod(settingsPath().c_str(), 0444); }, [] { return true; },
         "kwyx.zip=old;qrdTeams.ini;team.dat=old\r\n;",
         "Unable to write to [^\n]*/qrdTeams.ini: Permission denied"},
    };
    for (const auto& c : cases) {
        const auto program = [&] {
            test::TempFolder home(true);
            home.write("team.dat", "old\r\n");
            home.write("kwyx.zip", "old");
            home.write(".team.dat.rostrix-Left01", "left by a killed run");
            QTimer::singleShot(0, [&] { c.open(); });
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (!c.holds()) return;
                poll.stop();
                ::alarm(3);
                ::kill(::getpid(), SIGTERM);
            });
            poll.start(20);
            runProgram();
            std::string files;
            for (const std::string& name : listFolderEntries(home.path()))
                files += name + (name == "qrdTeams.ini" ? "" : "=" + home.read(name)) + ";";
            std::fprintf(stderr, "ended with [%s]\n", files.c_str());
            std::fflush(stderr);
            ::_exit(0);
        };
        EXPECT_EXIT(program(), testing::ExitedWithCode(0),
                    std::string(c.said) + ".*ended with \\[" + c.files + "\\]")
            << c.files;
    }
}

}  // namespace
}  // namespace rostrix
