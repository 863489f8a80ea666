// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "names/tmNamesDuplicate.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "platform/LineFile.h"
#include "platform/gui/QtDialogs.h"
#include "shell/tmHome.h"
#include "shell/tmPlayoffs.h"
#include "support/core/LoopbackServer.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

template <class T>
T* in(QWidget* form, const char* name) {
    T* c = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// The desktop's parent of a window: the widget whose platform window it names.
QString transientOf(QWidget* window) {
    const QWindow* handle = window->windowHandle();
    if (!handle) return "no platform window";
    const QWindow* parent = handle->transientParent();
    if (!parent) return "none";
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == parent) return w->objectName();
    return "an unknown window";
}

// The program's windows as at start-up, the main window shown, the About window pointed
// at a loopback site that offers a newer version.
class TransientParent : public ::testing::Test {
protected:
    TransientParent()
        : home(true), site([](int fd, const std::string&) {
              test::LoopbackServer::send(fd, test::httpReply("HTTP/1.0 200 OK", "9.9.9"));
          }) {
        const std::string line =
            "00    08 Stone, Steve      "
            "258  70  18   1   9  29  32  37 L   5  2  0  63 062-8";
        home.write("dup.dat", joinLinesCrlf({"*A       W2000 Oakland", line}));
        createForms();
        Form2->SiteBase = site.url("/site");
        Form1->show();
    }
    ~TransientParent() override { destroyForms(); }

    test::TempFolder home;
    test::LoopbackServer site;
};

TEST_F(TransientParent, EveryWindowOpensAttachedToTheWindowItOpensFrom) {
    struct Case {
        const char* command;
        // Opens the window from its opener; inner windows are reached through outer ones.
        std::function<void(test::ScriptedDialogs&)> run;
        QWidget* opens;
        QWidget* opener;
    };
    const auto click = [](QWidget* form, const char* button) {
        QTest::mouseClick(in<QPushButton>(form, button), Qt::LeftButton);
    };
    // Runs inside the window a main-window button opens.
    const auto within = [click](test::ScriptedDialogs& dlg, const char* button,
                                std::function<void(QWidget*)> act) {
        dlg.answerModal(std::move(act));
        click(Form1, button);
    };
    const Case cases[] = {
        {"Make Zip", [&](auto&) { click(Form1, "Button8"); }, Form7, Form1},
        {"Create Team Pack", [](auto&) { in<QAction>(Form1, "CreateTeamPack1")->trigger(); }, Form7,
         Form1},
        {"About", [&](auto&) { click(Form1, "Button5"); }, Form2, Form1},
        {"&About", [](auto&) { in<QAction>(Form1, "About1")->trigger(); }, Form2, Form1},
        {"Playoffs", [&](auto&) { click(Form1, "Button10"); }, Form14, Form1},
        {"Names", [&](auto&) { click(Form1, "Button2"); }, Form5, Form1},
        {"Edit, Names", [](auto&) { in<QAction>(Form1, "Names1")->trigger(); }, Form5, Form1},
        {"Edit Team", [&](auto&) { click(Form1, "Button4"); }, Form4, Form1},
        {"Edit, Teams", [](auto&) { in<QAction>(Form1, "Teams1")->trigger(); }, Form4, Form1},
        {"Send Team",
         [&](auto& dlg) { within(dlg, "Button8", [&](QWidget* w) { click(w, "Button7"); }); },
         Form8, Form7},
        {"About in Names",
         [&](auto& dlg) { within(dlg, "Button2", [&](QWidget* w) { click(w, "Button4"); }); },
         Form2, Form5},
        {"Player stat archive",
         [&](auto& dlg) {
             within(dlg, "Button4",
                    [](QWidget* w) { in<QToolButton>(w, "ToolButton29")->click(); });
         },
         Form3, Form4},
        {"Duplicate name",
         [&](auto& dlg) {
             within(dlg, "Button2", [&](QWidget* w) {
                 in<QCheckBox>(w, "CheckBox1")->setChecked(true);
                 dlg.answerPath(QString::fromStdString(home.file("dup.dat")));
                 click(w, "Button3");
                 click(w, "Button1");
             });
         },
         Form6, Form5},
        {"Download",
         [&](auto& dlg) {
             within(dlg, "Button5", [&](QWidget* w) {
                 dlg.answerButton(Yes);
                 QTest::mouseClick(in<QLabel>(w, "Label6"), Qt::LeftButton);
             });
         },
         Form10, Form2},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dlg;
        QString opened, parent;
        dlg.whileAsked = [&](const test::Asked& question) {
            if (question.kind != "showModal" || question.text != c.opens->objectName()) return;
            dlg.answerModal([&](QWidget* w) {
                opened = w->objectName();
                parent = transientOf(w);
                // The download window is left through its abort link, before it starts.
                if (w == Form10) QTest::mouseClick(in<QLabel>(w, "Label2"), Qt::LeftButton);
            });
        };
        c.run(dlg);
        EXPECT_EQ(opened, c.opens->objectName()) << c.command;
        EXPECT_EQ(parent, c.opener->objectName()) << c.command;
        EXPECT_TRUE(c.opens->parentWidget() == nullptr) << c.command << " stays a window";
    }
}

TEST_F(TransientParent, BoxesAndFileDialogsBelongToTheirOwnerOrTheWindowOnTop) {
    QtDialogs qt;
    struct Case {
        const char* what;
        std::function<void()> ask;
        const char* expected;
    };
    const FileDialogSpec open{"Open Team File", "dat", "QRD Team Files|*.dat", "/", "", true};
    const Case cases[] = {
        {"message from the editor",
         [&] { qt.message(Form4, "Rostrix", "x", MsgIcon::Warning, Ok | Cancel); }, "TForm4"},
        {"error box with no owner",
         [&] { qt.message(nullptr, "Rostrix", "x", MsgIcon::Error, Ok); }, "TForm4"},
        {"message from a hidden window",
         [&] { qt.message(Form3, "Rostrix", "x", MsgIcon::None, Ok); }, "TForm4"},
        {"input box", [&] { qt.inputBox(Form4, "Missing To Address", "To:", ""); }, "TForm4"},
        {"password box", [&] { qt.passwordBox(Form4, "Rostrix", "Password:"); }, "TForm4"},
        {"file dialog", [&] { qt.openFile(Form4, open); }, "TForm4"},
        {"folder browser", [&] { qt.browseForFolder(nullptr, "Select Your .DAT Folder:"); },
         "TForm4"},
    };
    test::ScriptedDialogs dlg;
    dlg.answerModal([&](QWidget*) {
        for (const auto& c : cases) {
            QString parent = "no dialog";
            QTimer::singleShot(50, [&] {
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    parent = transientOf(d);
                    d->reject();
                }
            });
            c.ask();
            EXPECT_EQ(parent, c.expected) << c.what;
        }
    });
    QTest::mouseClick(in<QPushButton>(Form1, "Button4"), Qt::LeftButton);
}

// A desktop that draws title bars itself offers what the window asks for: a window of
// fixed size must not ask for a maximise button. The editor grows, and may ask.
TEST_F(TransientParent, NoFixedSizeWindowAsksForAMaximiseButton) {
    const QWidget* windows[] = {Form1, Form2, Form3, Form5, Form6, Form7, Form8, Form10, Form14};
    for (const QWidget* w : windows) {
        EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint)
            << w->objectName().toStdString();
        if (w != Form1) {
            EXPECT_EQ(w->minimumSize(), w->maximumSize()) << w->objectName().toStdString();
            EXPECT_EQ(w->windowType(), Qt::Dialog) << w->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace rostrix
