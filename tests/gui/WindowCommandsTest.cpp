// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QScreen>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "shell/tmHome.h"
#include "shell/tmPlayoffs.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"
#include "update/tmAbout.h"

namespace rostrix {
namespace {

// Every window created as at start-up, in a temporary home, the main window shown.
class WindowCommands : public ::testing::Test {
protected:
    WindowCommands() : home(true) {
        createForms();
        Form1->show();
    }
    ~WindowCommands() override { destroyForms(); }

    template <class T>
    static T* in(QWidget* form, const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    test::TempFolder home;
};

TEST_F(WindowCommands, EachCommandOpensItsWindowCentredOverTheMainWindow) {
    struct Case {
        const char* command;
        std::function<void()> run;
        QWidget* opens;
    };
    const Case cases[] = {
        {"Make Zip", [] { in<QPushButton>(Form1, "Button8")->click(); }, Form7},
        {"Setup, Create Team Pack", [] { in<QAction>(Form1, "CreateTeamPack1")->trigger(); },
         Form7},
        {"About", [] { in<QPushButton>(Form1, "Button5")->click(); }, Form2},
        {"&About", [] { in<QAction>(Form1, "About1")->trigger(); }, Form2},
        {"Playoffs", [] { in<QPushButton>(Form1, "Button10")->click(); }, Form14},
        {"Names", [] { in<QPushButton>(Form1, "Button2")->click(); }, Form5},
        {"Edit, Names", [] { in<QAction>(Form1, "Names1")->trigger(); }, Form5},
        {"Edit Team", [] { in<QPushButton>(Form1, "Button4")->click(); }, Form4},
        {"Edit, Teams", [] { in<QAction>(Form1, "Teams1")->trigger(); }, Form4},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dlg;
        QWidget* opened = nullptr;
        QPoint offset;
        dlg.answerModal([&](QWidget* w) {
            opened = w;
            offset = w->frameGeometry().center() - Form1->frameGeometry().center();
        });
        c.run();
        EXPECT_EQ(opened, c.opens) << c.command;
        EXPECT_LE(offset.manhattanLength(), 4) << c.command;  // rounding of odd sizes
    }
}

TEST_F(WindowCommands, SendTeamOpensTheSubmissionWindowFromThePackageWindow) {
    test::ScriptedDialogs dlg;
    QWidget* opened = nullptr;
    QPoint offset;
    dlg.answerModal([](QWidget* w) { in<QPushButton>(w, "Button7")->click(); });
    dlg.answerModal([&](QWidget* w) {
        opened = w;
        offset = w->frameGeometry().center() - Form1->frameGeometry().center();
    });
    in<QPushButton>(Form1, "Button8")->click();
    EXPECT_EQ(opened, static_cast<QWidget*>(Form8));
    EXPECT_LE(offset.manhattanLength(), 4);
}

TEST_F(WindowCommands, AWindowOpenedNearTheScreensEdgeStaysOnTheScreen) {
    const QRect screen = Form1->screen()->availableGeometry();
    Form1->move(screen.right() - 100, screen.bottom() - 100);
    test::ScriptedDialogs dlg;
    QRect frame;
    dlg.answerModal([&](QWidget* w) { frame = w->frameGeometry(); });
    in<QPushButton>(Form1, "Button8")->click();
    EXPECT_TRUE(screen.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height() << " in "
        << screen.width() << "x" << screen.height();
}

}  // namespace
}  // namespace rostrix
