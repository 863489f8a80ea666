// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/Forms.h"
#include "platform/gui/PaneText.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"

namespace rostrix {
namespace {

// The editor's archive buttons, with the program's windows created in a temporary home.
class EditorArchive : public ::testing::Test {
protected:
    EditorArchive() : home(true) {
        createForms();
        Form4->CurrentFile = "/home/u/teams/00OAK.dat";
        setPaneLines(Form4->Memo1(), test::sampleTeam());
        Form4->Memo1()->document()->setModified(false);
    }
    ~EditorArchive() override { destroyForms(); }

    void press(const char* button) {
        Form4->findChild<QToolButton*>(QString::fromLatin1(button))->click();
    }

    test::TempFolder home;
    test::ScriptedDialogs dlg;
};

TEST_F(EditorArchive, TeamArchiveFilesThePaneAndSaysDone) {
    dlg.answerButton(Ok);
    press("ToolButton28");
    EXPECT_EQ(home.read("archive.dat"), test::dataFile("archive-golden.dat"));
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "Done!\nFiled 1 section into " + home.file("archive.dat") + ".");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::None);
    EXPECT_EQ(dlg.asked[0].buttons, Ok);
    // The pane, its file and its flag stay as they were.
    EXPECT_FALSE(Form4->Memo1()->document()->isModified());
    EXPECT_EQ(Form4->CurrentFile, "/home/u/teams/00OAK.dat");
}

// A team file whose name holds a line break cannot be a section of archive.dat.
TEST_F(EditorArchive, ATeamFileNamedWithALineBreakIsRefusedEachTime) {
    home.write("archive.dat", "[/h/other.dat]\r\nLine 0=x\r\n");
    Form4->CurrentFile = home.file("27AL\nnya.dat");
    for (int attempt = 0; attempt < 2; ++attempt) {
        dlg.asked.clear();
        dlg.answerButton(Ok);
        press("ToolButton28");
        ASSERT_EQ(dlg.asked.size(), 1u) << attempt;
        EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
        EXPECT_EQ(dlg.asked[0].text.toStdString(),
                  "Unable to write to " + home.file("archive.dat") +
                      ": a section name, key or value holds a line break.");
        EXPECT_EQ(home.read("archive.dat"), "[/h/other.dat]\r\nLine 0=x\r\n");
    }
}

TEST_F(EditorArchive, EmptyPaneWritesNothingAndStillSaysDone) {
    Form4->Memo1()->clear();
    dlg.answerButton(Ok);
    press("ToolButton28");
    EXPECT_FALSE(home.exists("archive.dat"));
    EXPECT_TRUE(dlg.asked.at(0).text.startsWith("Done!\nFiled 0 sections into "));
}

// Each archive command checks the team first: a sound team is filed at once; a damaged
// one only when the user says Yes to filing it anyway.
TEST_F(EditorArchive, ADamagedTeamIsFiledOnlyWhenTheUserSaysSo) {
    const struct {
        const char* button;  // in the editor, or in the player stat archive window
        int answer;          // to "... has 1 problem. File it into <archive> anyway?"; 0: sound
        const char* said;    // after a write; "" when nothing is written
    } cases[] = {{"ToolButton28", 0, "Done!\nFiled 1 section into /"},
                 {"ToolButton28", No, ""},
                 {"ToolButton28", Yes, "Done!\nFiled 1 section into /"},
                 {"Button1", 0, "Done! Filed 28 sections into player.dat."},
                 {"Button1", No, ""},
                 {"Button2", Yes, "Done! Filed 1 section into player.dat."}};
    for (const auto& c : cases) {
        const bool editor = c.button[0] == 'T';
        const char* archive = editor ? "archive.dat" : "player.dat";
        std::filesystem::remove(home.file(archive));
        auto team = test::sampleTeam();
        if (c.answer) team[1][59] = 'S';  // bats S: one problem
        setPaneLines(Form4->Memo1(), team);
        dlg.asked.clear();
        if (!editor)
            dlg.answerModal([&](QWidget* w) {
                w->findChild<QListWidget*>("CheckListBox1")->item(2)->setCheckState(Qt::Checked);
                w->findChild<QPushButton*>(c.button)->click();
            });
        if (c.answer) dlg.answerButton(c.answer);
        if (editor && *c.said) dlg.answerButton(Ok);
        press(editor ? c.button : "ToolButton29");
        const QString said =
            editor ? dlg.asked.back().text : Form3->findChild<QLabel*>("Label2")->text();
        const std::size_t at = editor ? 0 : 1;
        const QString question = "00OAK.dat has 1 problem. File it into " + QString(archive);
        EXPECT_EQ(dlg.asked.size() > at && dlg.asked[at].text.startsWith(question), c.answer != 0);
        EXPECT_EQ(home.exists(archive), *c.said != '\0') << c.button << c.answer;
        EXPECT_TRUE(!*c.said || said.startsWith(QString::fromLatin1(c.said))) << c.button;
    }
}

TEST_F(EditorArchive, UnwritableArchiveShowsTheErrorInsteadOfDone) {
    std::filesystem::create_directory(home.file("archive.dat"));
    dlg.answerButton(Ok);
    press("ToolButton28");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "Unable to write to " + home.file("archive.dat") + ": Is a directory.");
}

TEST_F(EditorArchive, PlayerArchiveWindowGetsAFreshUncheckedCopyOfThePane) {
    for (int opening = 0; opening < 2; ++opening) {
        dlg.answerModal([](QWidget* w) {
            EXPECT_EQ(w, static_cast<QWidget*>(Form3));
            auto* list = w->findChild<QListWidget*>("CheckListBox1");
            ASSERT_EQ(list->count(), 31);
            for (int i = 0; i < list->count(); ++i)
                EXPECT_EQ(list->item(i)->checkState(), Qt::Unchecked) << i;
            list->item(3)->setCheckState(Qt::Checked);  // must not survive to the next opening
        });
        press("ToolButton29");
    }
    dlg.answerModal([](QWidget* w) { w->findChild<QPushButton*>("Button1")->click(); });
    press("ToolButton29");
    EXPECT_EQ(home.read("player.dat"), test::dataFile("player-golden.dat"));
}

}  // namespace
}  // namespace rostrix
