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
        const char* archive;
        bool damaged;
        int answer;         // to the question, when there is one
        const char* filed;  // what the command says after a write; "" when nothing is written
    } cases[] = {
        {"ToolButton28", "archive.dat", false, 0, "Done!\nFiled 1 section into "},
        {"ToolButton28", "archive.dat", true, No, ""},
        {"ToolButton28", "archive.dat", true, Yes, "Done!\nFiled 1 section into "},
        {"Button1", "player.dat", false, 0, "Done! Filed 28 sections into player.dat."},
        {"Button1", "player.dat", true, No, ""},
        {"Button1", "player.dat", true, Yes, "Done! Filed 28 sections into player.dat."},
        {"Button2", "player.dat", true, No, ""},
        {"Button2", "player.dat", true, Yes, "Done! Filed 1 section into player.dat."},
    };
    auto* status = Form3->findChild<QLabel*>("Label2");
    for (const auto& c : cases) {
        const std::string what = std::string(c.button) + (c.damaged ? " damaged" : " sound");
        std::filesystem::remove(home.file(c.archive));
        status->clear();
        auto team = test::sampleTeam();
        if (c.damaged) team[1][59] = 'S';  // bats S: one problem
        setPaneLines(Form4->Memo1(), team);
        dlg.asked.clear();
        const bool editor = c.button[0] == 'T';
        if (!editor)
            dlg.answerModal([&](QWidget* w) {
                w->findChild<QListWidget*>("CheckListBox1")->item(2)->setCheckState(Qt::Checked);
                w->findChild<QPushButton*>(c.button)->click();
            });
        if (c.damaged) dlg.answerButton(c.answer);
        if (editor && *c.filed) dlg.answerButton(Ok);
        press(editor ? c.button : "ToolButton29");
        if (c.damaged) {
            EXPECT_EQ(
                dlg.asked.at(editor ? 0 : 1).text.toStdString(),
                "00OAK.dat has 1 problem. File it into " + std::string(c.archive) + " anyway?")
                << what;
        }
        EXPECT_EQ(home.exists(c.archive), *c.filed != '\0') << what;
        const QString said = editor ? dlg.asked.back().text : status->text();
        if (*c.filed) {
            EXPECT_TRUE(said.startsWith(QString::fromLatin1(c.filed))) << what;
        }
    }
}

TEST_F(EditorArchive, UnwritableArchiveShowsTheErrorInsteadOfDone) {
    std::filesystem::create_directory(home.file("archive.dat"));
    dlg.answerButton(Ok);
    press("ToolButton28");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "Unable to write to " + home.file("archive.dat") + ".");
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
