// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gui/LimitedLineEdit.h"
#include "platform/gui/SpinEdit.h"
#include "shell/tmHome.h"
#include "support/core/ProcessState.h"
#include "support/core/StubPerl.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"

namespace rostrix {
namespace {

// A main window started in a temporary home folder.
class MainWindow : public ::testing::Test {
protected:
    MainWindow() : home(true) {}

    std::string ini() const { return home.read("qrdTeams.ini"); }
    std::string dir() const { return home.path(); }
    void start() { form = std::make_unique<TForm1>(); }
    void startAndShow() {
        start();
        form->show();
    }

    template <class T>
    T* control(const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    bool commandButtonsVisible() {
        return control<QPushButton>("Button4")->isVisibleTo(form.get());
    }
    bool menuItemsVisible() {
        return control<QMenu>("File1")->menuAction()->isVisible() &&
               control<QAction>("About1")->isVisible();
    }
    int clientHeight() { return control<QWidget>("ClientArea")->height(); }

    test::TempFolder home;
    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindow, FirstStartCreatesTheSettingsFileAndUsesTheMenuLayout) {
    startAndShow();
    EXPECT_EQ(ini(), "[Directories]\r\nHome=" + dir() + "\r\nPerl=" + dir() + "\r\n");
    EXPECT_EQ(form->HomeDirectory, dir());
    EXPECT_EQ(form->HomePath, dir());
    EXPECT_EQ(form->PerlDirectory, dir());
    EXPECT_EQ(control<QLabel>("Label12")->text().toStdString(), dir());
    EXPECT_EQ(control<QLabel>("Label2")->toolTip().toStdString(), dir());
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 1000);
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(menuItemsVisible());
    EXPECT_FALSE(commandButtonsVisible());
    EXPECT_EQ(clientHeight(), 379);
    EXPECT_EQ(form->windowTitle(), "Create QRD Teams");
    EXPECT_FALSE(control<QToolButton>("SpeedButton1")->isVisibleTo(form.get()));
    EXPECT_FALSE(control<QPushButton>("Button10")->isVisibleTo(form.get()));
    control<QAction>("Exit1")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ini(), "[Directories]\r\nHome=" + dir() + "\r\nPerl=" + dir() +
                         "\r\n[Settings]\r\nAuto File Name=No\r\n");
}

TEST_F(MainWindow, SettingsCopiedFromAnotherFolderKeepPerlAndDatabase) {
    home.write("qrdTeams.ini",
               "[Directories]\r\nHome=/elsewhere\r\nPerl=/opt/perl\r\nDatabase=/db\r\n"
               "[Settings]\r\nAuto File Name=Yes\r\nShow Menus=false\r\n");
    startAndShow();
    EXPECT_EQ(ini(), "[Directories]\r\nHome=" + dir() +
                         "\r\nPerl=/opt/perl\r\nDatabase=/db\r\n"
                         "[Settings]\r\nAuto File Name=Yes\r\nShow Menus=false\r\n");
    EXPECT_EQ(form->PerlDirectory, "/opt/perl");
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(form->AutoFileNameSetting, "Yes");
    EXPECT_TRUE(commandButtonsVisible());
    EXPECT_FALSE(menuItemsVisible());
    EXPECT_EQ(clientHeight(), 379);
}

TEST_F(MainWindow, ValuesAreComparedExactly) {
    // "yes" does not tick the box and is written back unchanged; an empty Perl is
    // replaced; an empty Database runs the reminder; "TRUE" applies no layout.
    home.write(
        "qrdTeams.ini",
        "[Directories]\r\nHome=" + dir() +
            "\r\nPerl=\r\nDatabase=\r\n[Settings]\r\nAuto File Name=yes\r\nShow Menus=TRUE\r\n");
    startAndShow();
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(form->AutoFileNameSetting, "yes");
    EXPECT_EQ(form->PerlDirectory, dir());
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_TRUE(commandButtonsVisible());
    EXPECT_TRUE(menuItemsVisible());
    EXPECT_EQ(clientHeight(), 363);
    form->close();
    EXPECT_EQ(ini(),
              "[Directories]\r\nHome=" + dir() + "\r\nPerl=" + dir() +
                  "\r\nDatabase=\r\n[Settings]\r\nAuto File Name=yes\r\nShow Menus=TRUE\r\n");
}

TEST_F(MainWindow, UnwritableSettingsFileShowsTheErrorAndOpensEmpty) {
    // A folder where the settings file should be: every write fails, even as root.
    std::filesystem::create_directory(home.file("qrdTeams.ini"));
    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    startAndShow();
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "Unable to write to " + dir() + "/qrdTeams.ini: Is a directory.");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
    EXPECT_EQ(form->HomeDirectory, "");
    EXPECT_EQ(form->HomePath, "");
    EXPECT_EQ(control<QLabel>("Label12")->text(), "");
    EXPECT_EQ(control<QLabel>("Label2")->text(), "");
    EXPECT_FALSE(form->Timer1->isActive());
    // Closing reports the failed write once more, and still closes.
    dlg.answerButton(Ok);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dlg.asked.size(), 2u);
}

TEST_F(MainWindow, F2AndF3SwitchTheLayoutOnlyFromTheListedControls) {
    startAndShow();
    QTest::keyRelease(control<QWidget>("CSpinEdit1"), Qt::Key_F2);
    QTest::keyRelease(control<QWidget>("ComboBox2"), Qt::Key_F2);
    EXPECT_FALSE(commandButtonsVisible());
    EXPECT_EQ(ini().find("Show Menus"), std::string::npos);

    QTest::keyRelease(control<QWidget>("Edit1"), Qt::Key_F2);
    EXPECT_TRUE(commandButtonsVisible());
    EXPECT_FALSE(menuItemsVisible());
    EXPECT_NE(ini().find("[Settings]\r\nShow Menus=false\r\n"), std::string::npos);

    QTest::keyRelease(control<QWidget>("Button3"), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_FALSE(commandButtonsVisible());
    EXPECT_TRUE(menuItemsVisible());
    EXPECT_NE(ini().find("Show Menus=true\r\n"), std::string::npos);
    EXPECT_EQ(clientHeight(), 379);

    // The next start opens in the stored layout.
    QTest::keyRelease(control<QWidget>("CheckBox1"), Qt::Key_F2);
    form.reset();
    startAndShow();
    EXPECT_TRUE(commandButtonsVisible());
}

TEST_F(MainWindow, FailedLayoutWriteLeavesTheHeightUnset) {
    home.write("qrdTeams.ini", "[Settings]\r\nShow Menus=nope\r\n");
    startAndShow();  // no layout applied: height stays as laid out
    std::filesystem::remove(home.file("qrdTeams.ini"));
    std::filesystem::create_directory(home.file("qrdTeams.ini"));
    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    QTest::keyRelease(control<QWidget>("Edit2"), Qt::Key_F2);
    EXPECT_TRUE(commandButtonsVisible());
    EXPECT_FALSE(menuItemsVisible());
    EXPECT_EQ(clientHeight(), 363);
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "Unable to write to " + dir() + "/qrdTeams.ini: Is a directory.");
}

TEST_F(MainWindow, PerlFolderBrowserChosenCancelledAndEmpty) {
    start();
    test::ScriptedDialogs dlg;
    dlg.answerPath(QStringLiteral("/new/perl"));
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(dlg.asked.back().title, "Select Your Perl Folder:");
    EXPECT_EQ(control<QLabel>("Label2")->text(), "/new/perl");
    EXPECT_EQ(control<QLabel>("Label2")->toolTip().toStdString(), dir());  // tool tip unchanged
    EXPECT_EQ(ini(), "[Directories]\r\nHome=" + dir() + "\r\nPerl=/new/perl\r\n");

    // Cancel still writes the value in use.
    std::filesystem::remove(home.file("qrdTeams.ini"));
    dlg.answerPath(std::nullopt);
    control<QAction>("ChangePerlDirectory1")->trigger();
    EXPECT_EQ(ini(), "[Directories]\r\nPerl=/new/perl\r\n");

    // An item without a file-system path empties the Perl directory.
    dlg.answerPath(QString());
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(control<QLabel>("Label2")->text(), "");
    EXPECT_EQ(ini(), "[Directories]\r\nPerl=\r\n");
}

// Whether a label shows its whole text on two word-wrapped lines.
bool showsOnTwoLines(QLabel* label) {
    const QFontMetrics metrics(label->font());
    const int width = label->contentsRect().width();
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, label->text());
    return needed.width() <= width && needed.height() <= 2 * metrics.lineSpacing();
}

TEST_F(MainWindow, LongFoldersGiveUpTheirLeadingFoldersNotTheirEnd) {
    std::string deep = dir();
    for (int i = 1; i <= 6; ++i) deep += "/season-folder-number-" + std::to_string(i);
    std::filesystem::create_directories(deep);
    std::filesystem::current_path(deep);
    std::string perl = "/opt";
    for (int i = 1; i <= 6; ++i) perl += "/perl-scripts-for-leagues-" + std::to_string(i);
    test::ScriptedDialogs dlg;
    dlg.answerPath(QString::fromStdString(perl));
    startAndShow();
    QLabel* home = control<QLabel>("Label12");
    QLabel* perlLabel = control<QLabel>("Label2");
    struct Case {
        QLabel* label;
        std::string full;
        std::string last;
    };
    const auto check = [&](const Case& c) {
        const QString shown = c.label->text();
        EXPECT_TRUE(shown.startsWith("/.../")) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QString::fromStdString("/" + c.last))) << shown.toStdString();
        EXPECT_TRUE(showsOnTwoLines(c.label)) << shown.toStdString();
        // Not shortened more than needed: one more leading folder would not fit.
        const QString full = QString::fromStdString(c.full);
        const QString tail = shown.mid(4);
        const int back = full.lastIndexOf('/', full.size() - tail.size() - 1);
        c.label->setText("/..." + full.mid(back));
        EXPECT_FALSE(showsOnTwoLines(c.label)) << full.mid(back).toStdString();
        c.label->setText(shown);
    };
    check({home, deep, "season-folder-number-6"});
    check({perlLabel, deep, "season-folder-number-6"});
    EXPECT_EQ(home->toolTip().toStdString(), deep);
    EXPECT_EQ(perlLabel->toolTip().toStdString(), deep);

    form->Button1Click();
    check({perlLabel, perl, "perl-scripts-for-leagues-6"});
    EXPECT_EQ(form->PerlDirectory, perl);
    EXPECT_EQ(perlLabel->toolTip().toStdString(), deep);  // the tool tip keeps the start-up folder
}

TEST_F(MainWindow, DatabaseFolderStopsTheReminder) {
    start();
    form->Timer1Timer();
    EXPECT_EQ(form->FlashCount, 1);
    EXPECT_FALSE(control<QToolButton>("SpeedButton1")->autoRaise());
    form->Timer1Timer();
    EXPECT_TRUE(control<QToolButton>("SpeedButton1")->autoRaise());

    test::ScriptedDialogs dlg;
    dlg.answerPath(std::nullopt);
    form->SpeedButton1Click();
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_NE(ini().find("Database=\r\n"), std::string::npos);

    dlg.answerPath(QString());
    form->SpeedButton1Click();
    EXPECT_EQ(dlg.asked.back().title, "Select Your Database Folder:");
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(control<QToolButton>("SpeedButton1")->autoRaise());
    EXPECT_EQ(form->FlashCount, 2);
}

TEST_F(MainWindow, AutomaticFileNameDigitByDigitAndAfterDeletingTheYear) {
    startAndShow();
    control<QCheckBox>("CheckBox1")->click();
    EXPECT_EQ(form->AutoFileNameSetting, "Yes");
    auto* year = control<SpinEdit>("CSpinEdit1");
    auto* team = control<QLineEdit>("Edit1");
    auto* league = control<QComboBox>("ComboBox1");
    auto* file = control<QLineEdit>("Edit2");
    league->setCurrentIndex(0);
    QTest::keyClicks(team, "nya");
    EXPECT_EQ(file->text(), "00ALnya");

    year->setFocus();
    year->selectAll();
    const std::pair<const char*, const char*> steps[] = {
        {"1", "00ALnyaALnya"}, {"9", "19ALnya"}, {"2", "92ALnya"}, {"7", "27ALnya"}};
    for (const auto& [key, name] : steps) {
        QTest::keyClicks(year, key);
        EXPECT_EQ(file->text(), name) << key;
    }
    EXPECT_EQ(control<QLabel>("Label3")->text(), "7");

    QTest::keyClicks(team, "nkees");
    EXPECT_EQ(file->text(), "27ALnyankees");
    EXPECT_EQ(control<QLabel>("Label3")->text(), "12");

    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    EXPECT_EQ(year->fieldText(), "1871");
    EXPECT_EQ(file->text(), "71ALnyankees");

    // Clear leaves the box ticked and the name empty.
    control<QPushButton>("Button7")->click();
    EXPECT_EQ(file->text(), "");
    EXPECT_EQ(control<QLabel>("Label3")->text(), "0");
    EXPECT_EQ(year->fieldText(), "2000");
    EXPECT_EQ(league->currentIndex(), -1);
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentIndex(), -1);
    EXPECT_TRUE(control<QCheckBox>("CheckBox1")->isChecked());
}

TEST_F(MainWindow, YearRunsFrom1871ToTheCurrentSeason) {
    startAndShow();
    auto* year = control<SpinEdit>("CSpinEdit1");
    const int now = QDate::currentDate().year();
    EXPECT_EQ(std::pair(year->minLimit(), year->maxLimit()), std::pair(1871, now));
    EXPECT_EQ(year->fieldText(), "2000");
    for (const auto& [typed, kept] :
         {std::pair<QString, int>{"9999", now}, {QString::number(now), now}, {"1870", 1871}}) {
        year->setFieldText(typed);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(year, &out);
        EXPECT_EQ(year->readValue(), kept) << typed.toStdString();
    }
}

TEST_F(MainWindow, FileBoxLimitsTypingToEightCharacters) {
    startAndShow();
    auto* file = control<LimitedLineEdit>("Edit2");
    file->setFocus();
    QTest::keyClicks(file, "123456789");
    EXPECT_EQ(file->text(), "12345678");
    EXPECT_EQ(control<QLabel>("Label3")->text(), "8");
    file->setText("27ALyankees");
    EXPECT_EQ(file->text(), "27ALyankees");
    QTest::keyClick(file, Qt::Key_Backspace);
    EXPECT_EQ(file->text(), "27ALyankee");

    // Pasting fills up to the limit; dropping more than fits is refused.
    file->setText("abc");
    file->setCursorPosition(3);
    QApplication::clipboard()->setText("0123456789");
    QTest::keySequence(file, QKeySequence::Paste);
    EXPECT_EQ(file->text(), "abc01234");
    for (const char* dropped : {"0123456789", "xy"}) {
        file->setText("abc");
        QMimeData data;
        data.setText(QString::fromLatin1(dropped));
        const QPoint at(file->width() - 2, file->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(file, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(file, &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(file, &drop);
        EXPECT_LE(file->text().size(), 8) << dropped;
    }
    EXPECT_EQ(file->text().size(), 5);
}

using test::StubPerl;

// A stub script line that writes a sound team file as 27ALnya.dat.
std::string writesSoundTeam() {
    return "cp '" + std::string(ROSTRIX_TEST_DATA) + "/sample-team.dat' 27ALnya.dat\n";
}

// Presses the Cancel of a script run once it appears.
void cancelWhenAsked(QTimer& poll) {
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "CancelPrompt" && w->isVisible())
                QTest::mouseClick(w->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    });
    poll.start();
}

TEST_F(MainWindow, CreateTeamTellsWhenTheTeamFileWasNotWritten) {
    const std::string file = dir() + "/27ALnya.dat";
    const std::string messages = "\nThe script's messages are in " + dir() + "/errlog.txt.";
    const std::string replace = "27ALnya.dat already exists in " + dir() + ". Replace it?";
    struct Case {
        std::string script;
        bool stale;          // an older 27ALnya.dat is there before the run (and is replaced)
        std::string expect;  // "" : no message
        enum { Run, Cancel, LogIsFolder } how = Run;
    };
    const Case cases[] = {
        {"echo \"no database\" >&2\nexit 3\n", false,
         "The team file " + file + " was not written: the script ended with exit status 3." +
             "\nThe script said:\nno database" + messages},
        {"exit 0\n", true, "The team file " + file + " was not written." + messages},
        {"exit 2\n", true,
         "The team file " + file + " was not written: the script ended with exit status 2." +
             messages},
        {writesSoundTeam() + "exit 1\n", false,
         "The team file " + file + " may be incomplete: the script ended with exit status 1." +
             messages},
        {"echo 'no team XYZ in 2001' >&2\necho 'the clubs are GRN GRR' >&2\nexit 1\n", false,
         "The team file " + file + " was not written: the script ended with exit status 1." +
             "\nThe script said:\nno team XYZ in 2001\nthe clubs are GRN GRR" + messages},
        {writesSoundTeam(), true, ""},
        {writesSoundTeam(), false, ""},
        // A script that never ends is cancelled, and what it started ends with it.
        {"sleep 600 &\necho $! > child.pid\nwait\n", false,
         "The team file " + file + " was not written: the script was stopped before it ended." +
             messages,
         Case::Cancel},
        {writesSoundTeam(), false,
         "The team-building script was not run: its log " + dir() +
             "/errlog.txt cannot be written: Is a directory.",
         Case::LogIsFolder},
    };
    startAndShow();
    control<QLineEdit>("Edit1")->setText("nya");
    control<QLineEdit>("Edit2")->setText("27ALnya");
    home.write("errlog.txt", "an older run's words\n");
    for (const auto& c : cases) {
        std::filesystem::remove(file);
        if (c.stale) {
            home.write("27ALnya.dat", "old\n");
            std::filesystem::last_write_time(
                file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
        }
        const StubPerl perl(c.script);
        test::ScriptedDialogs dlg;
        if (c.stale) dlg.answerButton(Yes);
        if (!c.expect.empty()) dlg.answerButton(Ok);
        QTimer poll;
        if (c.how == Case::Cancel) cancelWhenAsked(poll);
        if (c.how == Case::LogIsFolder) {
            std::filesystem::rename(home.file("errlog.txt"), home.file("log.keep"));
            std::filesystem::create_directory(home.file("errlog.txt"));
        }
        control<QPushButton>("Button3")->click();
        if (c.how == Case::LogIsFolder) {
            std::filesystem::remove(home.file("errlog.txt"));
            std::filesystem::rename(home.file("log.keep"), home.file("errlog.txt"));
            EXPECT_FALSE(home.exists("27ALnya.dat"));
        }
        if (c.how == Case::Cancel) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !test::stillRunning(home.read("child.pid")); }, 5000));
        }
        const std::size_t first = c.stale ? 1 : 0;
        ASSERT_EQ(dlg.asked.size(), first + (c.expect.empty() ? 0u : 1u)) << c.script;
        if (c.stale) {
            EXPECT_EQ(dlg.asked[0].text.toStdString(), replace);
        }
        if (c.expect.empty()) continue;
        EXPECT_EQ(dlg.asked[first].title, "Rostrix");
        EXPECT_EQ(dlg.asked[first].icon, MsgIcon::None);
        EXPECT_EQ(dlg.asked[first].text.toStdString(), c.expect) << c.script;
    }
}

TEST_F(MainWindow, CreateTeamAsksBeforeReplacingATeamFile) {
    startAndShow();
    control<QLineEdit>("Edit1")->setText("nya");
    control<QLineEdit>("Edit2")->setText("27ALnya");
    home.write("27ALnya.dat", "my own edits\r\n");
    const StubPerl perl("echo run >> runs.txt\n" + writesSoundTeam());
    test::ScriptedDialogs dlg;
    dlg.answerButton(No);
    control<QPushButton>("Button3")->click();
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].buttons, Yes | No);
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "27ALnya.dat already exists in " + dir() + ". Replace it?");
    EXPECT_FALSE(home.exists("runs.txt"));  // No runs nothing
    EXPECT_EQ(home.read("27ALnya.dat"), "my own edits\r\n");
    dlg.answerButton(Yes);
    control<QPushButton>("Button3")->click();
    EXPECT_EQ(home.read("runs.txt"), "run\n");
    EXPECT_EQ(home.read("27ALnya.dat"),
              readFileBytes(std::string(ROSTRIX_TEST_DATA) + "/sample-team.dat"));
    EXPECT_TRUE(dlg.allAnswered());
    // The run's summary stays in the window until the next command; an empty Team box
    // runs nothing.
    auto* summary = form->findChild<QLabel*>("RunSummary");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->text(), "Wrote 27ALnya.dat.");
    EXPECT_TRUE(summary->isVisibleTo(form.get()));
    control<QLineEdit>("Edit1")->clear();
    dlg.answerButton(Ok);
    control<QPushButton>("Button3")->click();
    EXPECT_EQ(dlg.asked.back().text, "Enter the club's code in Team, for example CIN.");
    EXPECT_EQ(home.read("runs.txt"), "run\n");
    EXPECT_FALSE(summary->isVisibleTo(form.get()));
}

TEST_F(MainWindow, CreateTeamChecksTheFileItWrote) {
    startAndShow();
    control<QLineEdit>("Edit1")->setText("nya");
    control<QLineEdit>("Edit2")->setText("27ALnya");
    const std::string file = dir() + "/27ALnya.dat";
    // One fault: the first starter bats "S".
    const StubPerl perl(writesSoundTeam() + "sed -i '2s/ L   5/ S   5/' 27ALnya.dat\n");
    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    control<QPushButton>("Button3")->click();
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "The team file " + file +
                  " was written but has 1 problem; Edit Team, then Check Team File (F7), shows "
                  "them.");
}

TEST_F(MainWindow, CreateTeamTakesNoInputWhileTheScriptRuns) {
    // Long enough for the database reminder to tick during the run.
    const StubPerl perl("echo run >> runs.txt\nsleep 1.6\n" + writesSoundTeam());
    startAndShow();
    ASSERT_TRUE(form->Timer1->isActive());
    auto* create = control<QPushButton>("Button3");
    auto* team = control<QLineEdit>("Edit1");
    team->setText("nya");
    control<QLineEdit>("Edit2")->setText("27ALnya");
    bool poked = false;
    QTimer::singleShot(400, form.get(), [&] {
        QTest::mouseClick(create, Qt::LeftButton);
        QTest::keyClick(form.get(), Qt::Key_F2);
        QTest::keyClicks(team, "x");
        QCoreApplication::postEvent(form.get(),
                                    new QKeyEvent(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier));
        create->click();  // a start that does not come from input
        poked = true;
    });
    test::ScriptedDialogs dlg;  // any message would fail the test
    create->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(poked);
    EXPECT_EQ(home.read("runs.txt"), "run\n");
    EXPECT_EQ(team->text(), "nya");
    EXPECT_FALSE(commandButtonsVisible());
    EXPECT_EQ(ini(), "[Directories]\r\nHome=" + dir() + "\r\nPerl=" + dir() + "\r\n");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Afterwards the window takes input again.
    QTest::keyClicks(team, "x");
    EXPECT_EQ(team->text(), "nyax");
}

}  // namespace
}  // namespace rostrix
