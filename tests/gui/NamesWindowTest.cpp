// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "app/Forms.h"
#include "names/PassReport.h"
#include "names/tmNames.h"
#include "names/tmNamesDuplicate.h"
#include "platform/LineFile.h"
#include "platform/gui/PaneText.h"
#include "shell/tmHome.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"

namespace rostrix {
namespace {

std::string batter(const std::string& name) {
    return "00    08 " + (name + std::string(18, ' ')).substr(0, 18) +
           "258  70  18   1   9  29  32  37 L   5  2  0  63 062-8";
}
const std::string kTitle =
    "*A       W2000 Oakland      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P";

template <class T>
T* in(QWidget* form, const char* name) {
    T* c = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}
void click(QWidget* form, const char* button) {
    QTest::mouseClick(in<QPushButton>(form, button), Qt::LeftButton);
}

// The program's windows in a temporary home folder holding a few team files.
class NamesWindow : public ::testing::Test {
protected:
    NamesWindow() : home(true) {
        home.write("qrdTeams.ini", "[Settings]\r\nShow Menus=false\r\n");
        home.write("b.DAT", joinLinesCrlf({kTitle, batter("Brisco, Dale")}));
        home.write("a.dat", joinLinesCrlf({kTitle, batter("Halloran, Mickey")}));
        home.write("c.dat", joinLinesCrlf({kTitle, batter("Tennant, Royce")}));
        home.write("notes.txt", "x");
        createForms();
        Form1->show();
    }
    ~NamesWindow() override { destroyForms(); }

    QListWidget* list() { return in<QListWidget>(Form5, "CheckListBox1"); }
    QStringList listed() {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->item(i)->text() +
                         (list()->item(i)->checkState() == Qt::Checked ? "+" : "");
        return names;
    }
    void check(int row) { list()->item(row)->setCheckState(Qt::Checked); }
    // Opens the names utility from the main window and acts inside it.
    void openNames(test::ScriptedDialogs& dlg, const std::function<void()>& act,
                   const char* via = "Button2") {
        dlg.answerModal([&](QWidget* w) {
            EXPECT_EQ(w, Form5);
            act();
        });
        if (QString(via) == "Names1")
            in<QAction>(Form1, "Names1")->trigger();
        else
            click(Form1, via);
    }
    // Open: picks the file in the open dialog.
    void open(test::ScriptedDialogs& dlg, const std::string& name) {
        dlg.answerPath(QString::fromStdString(home.file(name)));
        click(Form5, "Button3");
    }
    std::string shown() { return joinLinesCrlf(paneLines(Form5->Memo1())); }
    QString report() { return in<QLabel>(Form5, "PassReport")->toolTip(); }

    test::TempFolder home;
};

TEST_F(NamesWindow, EveryOpeningListsTheHomeFolderAfresh) {
    test::ScriptedDialogs dlg;
    std::filesystem::create_directory(home.file("sub"));
    home.write("sub/z.dat", "x");
    home.write("sub/archive.dat", "[x]\r\n");  // the archives are not team files
    home.write("sub/Player.DAT", "[x]\r\n");
    openNames(dlg, [&] {
        EXPECT_EQ(Form5->windowTitle(), "QRD Names Utility");
        EXPECT_EQ(Form5->size(), QSize(552, 406));
        EXPECT_EQ(in<QLabel>(Form5, "Label3")->toolTip().toStdString(), home.path());
        EXPECT_EQ(listed(), QStringList({"a.dat", "b.DAT", "c.dat"}));
        check(0);
        in<QCheckBox>(Form5, "CheckBox2")->setChecked(true);
        dlg.answerPath(QString::fromStdString(home.file("sub")));
        click(Form5, "Button2");
        EXPECT_EQ(listed(), QStringList({"z.dat"}));
        check(0);
        // Change Dir cancelled: same folder, list filled again without check marks.
        dlg.answerPath(std::nullopt);
        click(Form5, "Button2");
        EXPECT_EQ(listed(), QStringList({"z.dat"}));
        EXPECT_EQ(Form5->CurrentFolder, home.file("sub"));
        EXPECT_EQ(dlg.asked.back().title, "Select Your QRD .DAT File Folder:");
    });
    openNames(
        dlg,
        [&] {
            EXPECT_EQ(listed(), QStringList({"a.dat", "b.DAT", "c.dat"}));
            EXPECT_TRUE(in<QCheckBox>(Form5, "CheckBox2")->isChecked());  // options are kept
        },
        "Names1");
}

TEST_F(NamesWindow, OptionsExcludeEachOther) {
    QCheckBox* boxes[] = {in<QCheckBox>(Form5, "CheckBox1"), in<QCheckBox>(Form5, "CheckBox2"),
                          in<QCheckBox>(Form5, "CheckBox3")};
    for (int on = 0; on < 3; ++on) {
        for (int other = 0; other < 3; ++other) {
            if (other == on) continue;
            boxes[other]->setChecked(true);
            boxes[on]->click();
            for (int i = 0; i < 3; ++i) EXPECT_EQ(boxes[i]->isChecked(), i == on) << on << other;
            boxes[on]->click();
            for (QCheckBox* b : boxes) EXPECT_FALSE(b->isChecked()) << on << other;
        }
    }
}

TEST_F(NamesWindow, SelectAllChecksTheListButNotEntriesAddedLater) {
    test::ScriptedDialogs dlg;
    openNames(dlg, [&] {
        in<QCheckBox>(Form5, "CheckBox4")->click();
        EXPECT_EQ(listed(), QStringList({"a.dat+", "b.DAT+", "c.dat+"}));
        home.write("d.dat", "x");
        dlg.answerPath(std::nullopt);
        click(Form5, "Button2");
        EXPECT_EQ(listed(), QStringList({"a.dat", "b.DAT", "c.dat", "d.dat"}));
        check(1);
        in<QCheckBox>(Form5, "CheckBox4")->click();
        EXPECT_EQ(listed(), QStringList({"a.dat", "b.DAT", "c.dat", "d.dat"}));
    });
}

TEST_F(NamesWindow, GoEncodesTheOpenedFileAndNeverWritesWithoutOne) {
    test::ScriptedDialogs dlg;
    const std::string encoded = joinLinesCrlf({kTitle, batter("Malloran, Hickey")});
    openNames(dlg, [&] {
        open(dlg, "a.dat");
        Form5->Memo1()->setPlainText("typed over");  // the pane's text never reaches the file
        click(Form5, "Button1");
        EXPECT_EQ(home.read("a.dat"), encoded);
        EXPECT_EQ(shown(), encoded);
        EXPECT_EQ(Form5->CurrentFile, home.file("a.dat"));
        EXPECT_EQ(report(), "Exchanged the initials of 1 name in a.dat.");
    });
    // A new showing: the current file is kept but nothing is loaded, so Go! only explains.
    openNames(dlg, [&] {
        EXPECT_EQ(shown(), "");
        dlg.answerButton(Ok);
        click(Form5, "Button1");
        EXPECT_TRUE(dlg.asked.back().text.startsWith("Open a team file first"));
        EXPECT_EQ(home.read("a.dat"), encoded);
    });
}

TEST_F(NamesWindow, AnAbandonedPassWritesNothingAndGoAgainFailsTheSameWay) {
    const std::string bytes = joinLinesCrlf({kTitle, batter("Zeta, Zack"), batter("Nocomma")});
    home.write("bad.dat", bytes);
    test::ScriptedDialogs dlg;
    openNames(dlg, [&] {
        open(dlg, "bad.dat");
        const std::string error = "Cannot encode the names of " + home.file("bad.dat") +
                                  ": the player name on line 3 has no comma after the "
                                  "surname. The file was not changed.";
        for (int press = 0; press < 2; ++press) {
            dlg.answerButton(Ok);
            click(Form5, "Button1");
            EXPECT_EQ(dlg.asked.back().text.toStdString(), error);
            EXPECT_EQ(home.read("bad.dat"), bytes);
            EXPECT_EQ(joinLinesCrlf(Form5->WorkingBuffer), bytes);
            EXPECT_TRUE(QString::fromStdString(shown()).endsWith(
                "Changed 0 of 1 file; stopped at bad.dat: " +
                QString::fromStdString(error).chopped(1) + "; 0 not touched.\r\n"));
        }
    });
}

TEST_F(NamesWindow, PromptAsksForEachDuplicateAndAnEmptyAnswerAbandons) {
    const std::vector<std::string> lines{kTitle, batter("Stone, Steve"), batter("Parker, Pete  Jr"),
                                         batter("Ward, Wilbur Lee Jo")};
    home.write("dup.dat", joinLinesCrlf(lines));
    test::ScriptedDialogs dlg;
    QStringList seen;
    // Go, the close box, and Go after typing a new character. The given name is cut before
    // two blanks or at column 27.
    const std::function<void(QWidget*)> answers[] = {
        [](QWidget* w) { click(w, "Button2"); },
        [](QWidget* w) { w->close(); },
        [](QWidget* w) {
            in<QLineEdit>(w, "Edit1")->selectAll();
            QTest::keyClicks(in<QLineEdit>(w, "Edit1"), "xy");
            click(w, "Button2");
        },
    };
    openNames(dlg, [&] {
        in<QCheckBox>(Form5, "CheckBox1")->setChecked(true);
        open(dlg, "dup.dat");
        for (const auto& answer : answers)
            dlg.answerModal([&](QWidget* w) {
                EXPECT_EQ(w, Form6);
                EXPECT_EQ(w->windowTitle(), "Select Duplicate Correction");
                seen << in<QLabel>(w, "Label1")->text() + "|" + in<QLabel>(w, "Label4")->text() +
                            "|" + in<QLineEdit>(w, "Edit1")->text();
                answer(w);
            });
        click(Form5, "Button1");
        EXPECT_EQ(seen,
                  QStringList({"Duplicate Char: S|Steve Stone|S", "Duplicate Char: P|Pete Parker|P",
                               "Duplicate Char: W|Wilbur Lee J Ward|W"}));
        EXPECT_EQ(home.read("dup.dat"),
                  joinLinesCrlf({lines[0], lines[1], lines[2], batter("xard, xilbur Lee Jo")}));

        // An emptied edit: nothing written, the buffer as it was.
        const std::string before = home.read("dup.dat");
        dlg.answerModal([](QWidget* w) {
            in<QLineEdit>(w, "Edit1")->clear();
            click(w, "Button2");
        });
        dlg.answerButton(Ok);
        click(Form5, "Button1");
        EXPECT_TRUE(
            dlg.asked.back().text.contains("no replacement character was given for the "
                                           "duplicate name on line 2"));
        EXPECT_EQ(home.read("dup.dat"), before);
        EXPECT_EQ(joinLinesCrlf(Form5->WorkingBuffer), before);
    });
}

TEST_F(NamesWindow, FixSelectedEncodesTheCheckedFilesInListOrder) {
    test::ScriptedDialogs dlg;
    openNames(dlg, [&] {
        check(0);
        check(2);
        click(Form5, "Button5");
        EXPECT_EQ(home.read("a.dat"), joinLinesCrlf({kTitle, batter("Malloran, Hickey")}));
        EXPECT_EQ(home.read("b.DAT"), joinLinesCrlf({kTitle, batter("Brisco, Dale")}));
        EXPECT_EQ(home.read("c.dat"), joinLinesCrlf({kTitle, batter("Rennant, Toyce")}));
        EXPECT_EQ(shown(), "");
        EXPECT_EQ(Form5->CurrentFile, home.file("c.dat"));
        EXPECT_EQ(joinLinesCrlf(Form5->WorkingBuffer), home.read("c.dat"));
        EXPECT_EQ(report(), "Changed 2 names in 2 files.");

        // A file gone since the listing stops the run there: the ones before it are written,
        // the ones after it untouched, and Go! has no file to write.
        in<QCheckBox>(Form5, "CheckBox4")->click();
        std::filesystem::remove(home.file("b.DAT"));
        dlg.answerButton(Ok);
        click(Form5, "Button5");
        EXPECT_EQ(dlg.asked.back().text.toStdString(),
                  "Cannot open file " + home.file("b.DAT") + ": No such file or directory.");
        EXPECT_EQ(shown(), "Changed 1 of 3 files; stopped at b.DAT: Cannot open file " +
                               home.file("b.DAT") +
                               ": No such file or directory; 1 not touched.\r\n");
        EXPECT_EQ(home.read("a.dat"), joinLinesCrlf({kTitle, batter("Halloran, Mickey")}));
        EXPECT_EQ(home.read("c.dat"), joinLinesCrlf({kTitle, batter("Rennant, Toyce")}));
        dlg.answerButton(Ok);
        click(Form5, "Button1");
        EXPECT_TRUE(dlg.asked.back().text.startsWith("Open a team file first"));
        EXPECT_EQ(home.read("a.dat"), joinLinesCrlf({kTitle, batter("Halloran, Mickey")}));

        // With nothing ticked nothing is written, and the window says why; every control
        // says in its tool tip what it is for.
        in<QCheckBox>(Form5, "CheckBox4")->click();
        click(Form5, "Button5");
        EXPECT_EQ(report(), kNothingTicked);
        EXPECT_EQ(home.read("a.dat"), joinLinesCrlf({kTitle, batter("Halloran, Mickey")}));
        for (QWidget* control : Form5->findChildren<QWidget*>()) {
            if (control->focusPolicy() != Qt::NoFocus && control->isVisible()) {
                EXPECT_FALSE(control->toolTip().isEmpty()) << control->objectName().toStdString();
            }
        }
    });
    EXPECT_EQ(std::count_if(dlg.asked.begin(), dlg.asked.end(),
                            [](const test::Asked& a) { return a.kind == "showModal"; }),
              1);
}

}  // namespace
}  // namespace rostrix
