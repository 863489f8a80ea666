// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>
#include <filesystem>

#include "app/Forms.h"
#include "platform/LineFile.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/PaneText.h"
#include "platform/gui/SpinEdit.h"
#include "shell/tmHome.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/RosterFilter.h"
#include "teamfile/TeamFileCheck.h"
#include "teamfile/tmEditor.h"
#include "update/tmAbout.h"

namespace rostrix {
namespace {

// The program's windows, created the way the program creates them, in a temporary home.
class EditTeam : public ::testing::Test {
protected:
    EditTeam() : home(true) {
        home.write("qrdTeams.ini", "[Settings]\r\nShow Menus=false\r\n");
        createForms();
        Form1->show();
    }
    ~EditTeam() override { destroyForms(); }

    template <class T>
    static T* in(QWidget* form, const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static std::vector<std::string> sample() {
        return readLines(std::string(ROSTRIX_TEST_DATA) + "/sample-team.dat").value();
    }
    // Presses "Edit Team" and records what the editor shows while it is open.
    void editTeam(test::ScriptedDialogs& dlg) {
        dlg.answerModal([this](QWidget* w) {
            EXPECT_EQ(w, Form4);
            caption = w->windowTitle();
            lines = paneLines(Form4->Memo1());
            modified = Form4->Memo1()->document()->isModified();
        });
        in<QPushButton>(Form1, "Button4")->click();
    }

    test::TempFolder home;
    QString caption;
    std::vector<std::string> lines;
    bool modified = true;
};

TEST_F(EditTeam, LoadsTheNamedTeamFileFromTheHomeFolder) {
    home.write("27ALnya.dat", joinLinesCrlf(sample()));
    in<QLineEdit>(Form1, "Edit2")->setText("27ALnya");
    test::ScriptedDialogs dlg;
    editTeam(dlg);
    EXPECT_EQ(caption, "Rostrix - 27ALnya.dat");
    EXPECT_EQ(lines, sample());
    EXPECT_FALSE(modified);
    EXPECT_EQ(Form4->CurrentFile, home.file("27ALnya.dat"));
    EXPECT_EQ(Form4->OpenDialog1.initialDir.toStdString(), home.path());
    EXPECT_EQ(Form4->SaveDialog1.initialDir.toStdString(), home.path());
}

TEST_F(EditTeam, EmptyOrMissingNameGivesAnEmptyUntitledEditor) {
    home.write("Untitled.dat", "*A not this one\r\n");
    test::ScriptedDialogs dlg;
    for (const char* name : {"", "nosuch"}) {
        in<QLineEdit>(Form1, "Edit2")->setText(QString::fromLatin1(name));
        lines = {"stale"};
        editTeam(dlg);
        EXPECT_EQ(caption, "Rostrix - Untitled.dat") << name;
        EXPECT_TRUE(lines.empty()) << name;
        EXPECT_FALSE(modified) << name;
        EXPECT_EQ(Form4->CurrentFile, "Untitled.dat") << name;
    }
    // Only the modal showings were asked: no message about the missing file.
    EXPECT_EQ(dlg.asked.size(), 2u);

    // Something under the name that is no file to open is named; no editor opens.
    namespace fs = std::filesystem;
    fs::create_directory(home.file("folder.dat"));
    fs::create_symlink(home.file("loop.dat"), home.file("loop.dat"));
    fs::create_symlink(home.file("gone.dat"), home.file("dangling.dat"));
    const std::pair<const char*, std::string> said[] = {
        {"folder", "Cannot open file " + home.file("folder.dat") + ": Is a directory."},
        {"loop",
         "Cannot open file " + home.file("loop.dat") + ": Too many levels of symbolic links."},
        {"dangling",
         home.file("dangling.dat") + " is a symbolic link to a file that does not exist."}};
    for (const auto& [name, text] : said) {
        in<QLineEdit>(Form1, "Edit2")->setText(QString::fromLatin1(name));
        dlg.answerButton(Ok);
        in<QPushButton>(Form1, "Button4")->click();
        EXPECT_EQ(dlg.asked.back().text.toStdString(), text);
    }
}

TEST_F(EditTeam, AboutOpensFromTheButtonAndTheMenu) {
    test::ScriptedDialogs dlg;
    dlg.answerModal([](QWidget* w) { EXPECT_EQ(w, static_cast<QWidget*>(Form2)); });
    dlg.answerModal([](QWidget* w) { EXPECT_EQ(w, static_cast<QWidget*>(Form2)); });
    in<QPushButton>(Form1, "Button5")->click();
    in<QAction>(Form1, "About1")->trigger();
    EXPECT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[0].title, "About Rostrix");
}

TEST_F(EditTeam, FromTeamCreationToAFilteredSavedFile) {
    test::TempFolder bin;
    bin.write("perl", "#!/bin/sh\ncp '" + std::string(ROSTRIX_TEST_DATA) +
                          "/sample-team.dat' \"$5\"\necho \"wrote $5\"\n");
    std::filesystem::permissions(bin.file("perl"), std::filesystem::perms::owner_all);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path()) + ":" + savedPath);

    in<QWidget>(Form1, "CheckBox1")->setProperty("checked", true);
    auto* year = in<SpinEdit>(Form1, "CSpinEdit1");
    year->selectAll();
    QTest::keyClicks(year, "1927");
    QTest::keyClicks(in<QLineEdit>(Form1, "Edit1"), "nya");
    auto* league = in<QComboBox>(Form1, "ComboBox1");
    league->setCurrentIndex(0);
    emit league->activated(0);
    EXPECT_EQ(in<QLineEdit>(Form1, "Edit2")->text(), "27ALnya");

    test::ScriptedDialogs dlg;
    in<QPushButton>(Form1, "Button3")->click();
    qputenv("PATH", savedPath);
    EXPECT_EQ(home.read("errlog.txt"), "wrote 27ALnya.dat\n");

    dlg.answerModal([&](QWidget* editor) {
        EXPECT_EQ(editor->windowTitle(), "Rostrix - 27ALnya.dat");
        EXPECT_FALSE(Form4->Memo1()->document()->isModified());
        in<QComboBox>(editor, "ComboBox1")->setCurrentIndex(0);  // Batter - At Bats
        in<SpinEdit>(editor, "CSpinEdit1")->setFieldValue(100);
        in<QToolButton>(editor, "ToolButton23")->click();
        EXPECT_TRUE(Form4->Memo1()->document()->isModified());
        in<QToolButton>(editor, "ToolButton4")->click();
        EXPECT_FALSE(Form4->Memo1()->document()->isModified());
    });
    in<QPushButton>(Form1, "Button4")->click();

    // The five bench batters under 100 at bats are gone; nobody was asked about starters.
    std::vector<std::string> expected = sample();
    for (int i : {30, 29, 28, 25, 24}) expected.erase(expected.begin() + i);
    EXPECT_EQ(expected.size(), 26u);
    EXPECT_EQ(home.read("27ALnya.dat"), joinLinesCrlf(expected));
    EXPECT_EQ(dlg.asked.size(), 1u);
}

TEST_F(EditTeam, TheBundledBuilderMakesATeamTheEditorShowsAndTheFilterPrunes) {
    // The Perl directory is the home folder, which has no script: the builder copied
    // beside the program runs, with the real perl and its sample database.
    const auto teams = readLines(fileNameBytes(QCoreApplication::applicationDirPath()) +
                                 "/teambuilder/sample-db/Teams.csv");
    ASSERT_TRUE(teams);
    std::string team;
    for (const std::string& row : *teams)
        if (row.starts_with("2001,AL,")) team = row.substr(8, 3);
    ASSERT_EQ(team.size(), 3u);

    in<SpinEdit>(Form1, "CSpinEdit1")->setFieldText("2001");
    in<QLineEdit>(Form1, "Edit1")->setText(QString::fromStdString(team).toLower());
    in<QComboBox>(Form1, "ComboBox1")->setCurrentIndex(0);
    in<QLineEdit>(Form1, "Edit2")->setText("01ALx");
    in<QComboBox>(Form1, "ComboBox2")->setCurrentIndex(1);
    test::ScriptedDialogs dlg;
    in<QPushButton>(Form1, "Button3")->click();
    EXPECT_TRUE(dlg.asked.empty());
    EXPECT_TRUE(home.read("errlog.txt").starts_with("kalbrix8.pl: wrote 01ALx.dat"))
        << home.read("errlog.txt");
    const auto written = readLines(home.file("01ALx.dat"));
    ASSERT_TRUE(written);
    EXPECT_EQ(describeProblems(checkTeamFile(*written)), "");

    // The filter keeps every starter the user does not give up and drops the short bench.
    std::size_t questions = 0;
    const auto expected =
        runRosterFilter(*written, FilterKind::BatterAtBats, 100, [&](std::size_t) {
            ++questions;
            return false;
        });
    ASSERT_TRUE(expected);
    ASSERT_LT(expected->size(), written->size());
    dlg.answerModal([&](QWidget* editor) {
        EXPECT_EQ(editor->windowTitle(), "Rostrix - 01ALx.dat");
        EXPECT_EQ(paneLines(Form4->Memo1()), *written);
        in<QComboBox>(editor, "ComboBox1")->setCurrentIndex(0);  // Batter - At Bats
        in<SpinEdit>(editor, "CSpinEdit1")->setFieldValue(100);
        in<QToolButton>(editor, "ToolButton23")->click();
        EXPECT_EQ(paneLines(Form4->Memo1()), *expected);
    });
    for (std::size_t i = 0; i < questions; ++i) dlg.answerButton(No);
    in<QPushButton>(Form1, "Button4")->click();
    EXPECT_TRUE(dlg.allAnswered());
}

}  // namespace
}  // namespace rostrix
