// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QtTest/QTest>

#include "platform/Error.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/QtDialogs.h"
#include "platform/gui/SpinEdit.h"
#include "platform/gui/WindowHabits.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

TEST(ErrorBox, AddsFullStopOnlyAfterCharactersSortingAfterIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"Unable to write to /x/qrdTeams.ini", "Unable to write to /x/qrdTeams.ini."},
        {"Done.", "Done."},
        {"Range check error", "Range check error."},
        {"'x' is not a valid integer value", "'x' is not a valid integer value."},
        {"quoted ''", "quoted ''"},                  // ' < .
        {"ends with a dash-", "ends with a dash-"},  // - < .
        {"path/", "path/."},                         // / > .
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(errorBoxText(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

TEST(ErrorBox, GuardShowsErrorsInTheProgramWideBox) {
    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    dlg.answerButton(Ok);
    bool after = false;
    guarded([&] {
        throw Error("Cannot open file /tmp/x.dat");
        after = true;
    });
    guarded([] { throw std::runtime_error("boom"); });
    EXPECT_FALSE(after);
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].text, "Cannot open file /tmp/x.dat.");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
    EXPECT_EQ(dlg.asked[0].buttons, Ok);
    EXPECT_EQ(dlg.asked[1].text, "boom.");
}

TEST(QtDialogs, RealMessageBoxAnswersTheKeyPressed) {
    QtDialogs qt;
    QTimer::singleShot(0, [] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(qt.message(nullptr, "Run QRD Warning", "x", MsgIcon::Warning, Yes | No | Cancel),
              Cancel);
}

// Presses key in whatever modal dialog is open once the event loop runs.
void pressInModal(Qt::Key key) {
    QTimer::singleShot(50, [key] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        QWidget* target = w->focusWidget() ? w->focusWidget() : w;
        QTest::keyClick(target, key);
    });
}

TEST(QtDialogs, RealDialogsReportDismissalAndChoices) {
    QtDialogs qt;
    FileDialogSpec dialog{"Open Team File", "dat", "QRD Team Files|*.dat", "/", "", true};
    pressInModal(Qt::Key_Escape);
    EXPECT_FALSE(qt.openFile(nullptr, dialog).has_value());
    pressInModal(Qt::Key_Escape);
    EXPECT_FALSE(qt.saveFile(nullptr, dialog).has_value());
    pressInModal(Qt::Key_Escape);
    EXPECT_FALSE(qt.browseForFolder(nullptr, "Select Your Perl Folder:").has_value());
    pressInModal(Qt::Key_Return);
    EXPECT_EQ(qt.inputBox(nullptr, "Title", "Prompt", "value"), QString("value"));
    pressInModal(Qt::Key_Escape);
    EXPECT_FALSE(qt.inputBox(nullptr, "Title", "Prompt", "value").has_value());

    // The password box hides what is typed and hands it over.
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    QTimer::singleShot(50, [&echo] {
        auto* edit = qobject_cast<QLineEdit*>(QApplication::activeModalWidget()->focusWidget());
        ASSERT_NE(edit, nullptr);
        echo = edit->echoMode();
        QTest::keyClicks(edit, "s3cret");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(qt.passwordBox(nullptr, "Rostrix", "Password"), QString("s3cret"));
    EXPECT_EQ(echo, QLineEdit::Password);
    pressInModal(Qt::Key_Escape);
    EXPECT_FALSE(qt.passwordBox(nullptr, "Rostrix", "Password").has_value());

    QDialog window;
    QTimer::singleShot(50, &window, &QDialog::accept);
    EXPECT_EQ(qt.showModal(&window), QDialog::Accepted);
}

// The desktop's file dialog where it has one of its own, ours where Qt would show its
// widget dialog; the key "File Dialog" decides where it names one. Without a desktop
// dialog (as here) the dialog shown and the file picked in it are checked too.
TEST(QtDialogs, TheFileDialogIsTheDesktopsWhereItHasOneElseOurs) {
    test::TempFolder dir;
    dir.write("b.dat", "x");
    const FileDialogSpec open{"Open", "dat", "", QString::fromStdString(dir.path()), "b.dat"};
    using K = FileDialogKind;
    const std::tuple<const char*, bool, K, QString> cases[] = {
        {"", true, K::Desktop, {}},
        {"", false, K::Own, "rostrix::FileChooser"},
        {"own", true, K::Own, {}},
        {"desktop", false, K::Desktop, "QFileDialog"},
        {"Desktop", false, K::Own, "rostrix::FileChooser"}};  // keys are exact
    for (const auto& [setting, native, kind, shown] : cases) {
        EXPECT_EQ(fileDialogKind(setting, native), kind) << setting << native;
        if (shown.isEmpty()) continue;
        setFileDialogSetting(setting);
        QString seen;
        QTimer::singleShot(50, [&seen] {
            seen = QApplication::activeModalWidget()->metaObject()->className();
            QTest::keyClick(QApplication::activeModalWidget()->focusWidget(), Qt::Key_Return);
        });
        EXPECT_EQ(QtDialogs().openFile(nullptr, open), dir.file("b.dat")) << setting;
        EXPECT_EQ(seen, shown);
    }
    setFileDialogSetting("");
}

// However large the window or wherever the main window stands, a window centred over it
// opens with its top-left corner on the screen.
TEST(CentreOver, KeepsTheWindowOnTheScreen) {
    QWidget main;
    main.resize(266, 400);
    main.show();
    const QRect screen = main.screen()->availableGeometry();
    struct Case {
        QPoint mainAt;
        QSize size;
        bool fits;
    };
    const Case cases[] = {
        {screen.center() - QPoint(133, 200), {200, 100}, true},
        {screen.topLeft(), {795, 425}, true},
        {screen.bottomRight() - QPoint(265, 399), {795, 425}, true},
        {screen.topLeft(), {screen.width() * 2, screen.height() + 10}, false},
    };
    for (const Case& c : cases) {
        main.move(c.mainAt);
        QWidget window;
        window.resize(c.size);
        centreOver(&window, &main);
        const QRect placed = window.frameGeometry();
        EXPECT_TRUE(screen.contains(placed.topLeft())) << c.size.width();
        EXPECT_EQ(screen.contains(placed), c.fits) << c.size.width();
        if (c.fits && c.size.width() < 266) {  // room to centre: centred
            // Before its first showing the window is taken to have the main window's borders.
            const QRect framed(placed.topLeft(),
                               placed.size() + main.frameGeometry().size() - main.size());
            EXPECT_LE((framed.center() - main.frameGeometry().center()).manhattanLength(), 2);
        }
        if (!c.fits) {
            EXPECT_EQ(placed.topLeft(), screen.topLeft());
        }
    }
    // The main window's own first showing: centred on the screen, kept on it.
    QWidget huge;
    huge.resize(screen.width() + 300, screen.height() + 200);
    centreOver(&huge, nullptr);
    EXPECT_EQ(huge.frameGeometry().topLeft(), screen.topLeft());
}

// A window of fixed size larger than the screen scrolls its controls, all of them as they
// were, shown or hidden; a window that may be resized gets smaller instead. Either opens on
// the screen.
TEST(ScreenFit, AWindowLargerThanTheScreenFitsIt) {
    installWindowHabits();
    QDialog fixed;
    const QRect screen = fixed.screen()->availableGeometry();
    fixed.setFixedSize(screen.size() + QSize(200, 100));
    auto* hidden = new QLineEdit(&fixed);
    hidden->hide();
    auto* shown = new QLineEdit(&fixed);
    shown->move(screen.width() + 100, 10);
    QDialog resizable;
    resizable.setMinimumSize(screen.size() + QSize(10, 10));
    for (QDialog* window : {&fixed, &resizable}) {
        window->move(screen.topLeft());
        window->show();
        EXPECT_TRUE(screen.contains(window->frameGeometry()));
    }
    ASSERT_NE(fixed.findChild<QScrollArea*>("FitScrollArea"), nullptr);
    EXPECT_TRUE(shown->isVisibleTo(&fixed));
    EXPECT_FALSE(hidden->isVisibleTo(&fixed));
    EXPECT_EQ(shown->pos(), QPoint(screen.width() + 100, 10));
    EXPECT_EQ(resizable.findChild<QScrollArea*>(), nullptr);
}

// The editor opens as large and where it was left, in a later run too, from a state file
// of the desktop's own place for it; the settings file is not touched.
TEST(WindowMemory, TheEditorOpensWhereItWasLeft) {
    test::TempFolder home(true);
    home.write("qrdTeams.ini", "[Settings]\r\nShow Menus=true\r\n");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect left(screen.topLeft() + QPoint(2, 30), QSize(795, 300));
    {
        TForm4 editor;
        editor.show();
        editor.setGeometry(left);
        editor.hide();
    }
    TForm4 nextRun;
    nextRun.show();
    EXPECT_EQ(nextRun.geometry(), left);
    const QString state = qEnvironmentVariable("XDG_STATE_HOME") + "/rostrix/windows.ini";
    EXPECT_TRUE(QFile::exists(state)) << state.toStdString();
    EXPECT_EQ(home.read("qrdTeams.ini"), "[Settings]\r\nShow Menus=true\r\n");
}

TEST(QtDialogs, FilterIsConvertedToQtForm) {
    EXPECT_EQ(qtFileFilter("QRD Team Files|*.dat|QRD Series Files|*.ser"),
              "QRD Team Files (*.dat);;QRD Series Files (*.ser)");
}

TEST(SpinEdit, AcceptsAnyIntegerWhileTypingAndClampsOnFocusLoss) {
    QWidget host;
    SpinEdit year(&host);
    year.setLimits(1871, 2000);
    year.setFieldValue(2000);
    QLineEdit other(&host);
    host.show();
    year.setFocus();
    year.selectAll();
    QTest::keyClicks(&year, "1");
    EXPECT_EQ(year.readValue(), 1);
    QTest::keyClicks(&year, "999999");
    EXPECT_EQ(year.readValue(), 1999999);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&year, &out);
    EXPECT_EQ(year.text(), "2000");
    year.setFieldValue(5);
    QTest::keyClick(&year, Qt::Key_Up);
    EXPECT_EQ(year.readValue(), 1871);
    year.setFieldValue(2000);
    QTest::keyClick(&year, Qt::Key_Up);
    EXPECT_EQ(year.readValue(), 2000);
}

TEST(SpinEdit, TextThatIsNotANumberReadsAsTheMinimum) {
    SpinEdit box;
    box.setLimits(1, 1000);
    for (const char* text : {"", "-", "abc"}) {
        box.setFieldText(QString::fromLatin1(text));
        EXPECT_EQ(box.readValue(), 1) << text;
        EXPECT_EQ(box.text(), "1") << text;
    }
}

}  // namespace
}  // namespace rostrix
