// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "platform/gui/HelpWindow.h"
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

// F1 opens the one Help window at the topic of the window it is pressed in; over a window
// shown modally it belongs to that window, so it takes input beside it.
TEST_F(WindowCommands, F1OpensTheHandbookAtTheTopicOfItsWindow) {
    const auto topicAfterF1 = [](QWidget* in, QWidget* window) {
        QTest::keyClick(in, Qt::Key_F1);
        const QTextBrowser* text = helpText();
        if (!text || !text->isVisible() || text->window()->parentWidget() != window)
            return QString();
        return text->source().fragment();
    };
    EXPECT_EQ(topicAfterF1(in<QLineEdit>(Form1, "Edit1"), Form1), "main-window");
    test::ScriptedDialogs dlg;
    QString inEditor, inTable, inNames;
    dlg.answerModal([&](QWidget*) {
        inEditor = topicAfterF1(Form4->Memo1(), Form4);
        QTest::keyClick(Form4->Memo1(), Qt::Key_F6);  // the table view has a part of its own
        inTable = topicAfterF1(Form4->findChild<QWidget*>("PlayerTable"), Form4);
    });
    dlg.answerModal(
        [&](QWidget*) { inNames = topicAfterF1(in<QWidget>(Form5, "Button5"), Form5); });
    in<QPushButton>(Form1, "Button4")->click();
    in<QPushButton>(Form1, "Button2")->click();
    EXPECT_EQ(inEditor, "editor");
    EXPECT_EQ(inTable, "table-view");
    EXPECT_EQ(inNames, "names");
    // Each topic is a place in the handbook.
    QFile handbook(QStringLiteral(":/help/handbook.html"));
    ASSERT_TRUE(handbook.open(QIODevice::ReadOnly));
    const QByteArray html = handbook.readAll();
    for (const char* topic : {"main-window", "editor", "table-view", "names"})
        EXPECT_TRUE(html.contains(QByteArray("id=\"") + topic + "\"")) << topic;
}

}  // namespace
}  // namespace rostrix
