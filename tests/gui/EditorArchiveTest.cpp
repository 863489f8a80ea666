// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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
    EXPECT_EQ(dlg.asked[0].text, "Done!");
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
    EXPECT_EQ(dlg.asked.at(0).text, "Done!");
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
