// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "package/tmZip.h"
#include "platform/LineFile.h"
#include "platform/gui/SpinEdit.h"
#include "shell/tmHome.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/TeamFileCheck.h"

namespace rostrix {
namespace {

// Create Season over the sample database, from the main window to Make Zip.
TEST(SeasonWindow, BuildsEveryClubOfTheYearAndHandsThemToMakeZip) {
    test::TempFolder home(true);
    home.write("qrdTeams.ini", "[Settings]\r\nShow Menus=false\r\n");
    home.write("01ALthe.dat", "kept by the user\r\n");
    // A pipe under a club's name is no team file to replace: that club fails, unasked.
    ASSERT_EQ(::mkfifo(home.file("01NLwrn.dat").c_str(), 0600), 0);
    createForms();
    Form1->show();
    Form1->findChild<SpinEdit*>("CSpinEdit1")->setFieldValue(2001);

    test::ScriptedDialogs dlg;
    dlg.answerButton(Yes);  // build the 8 clubs
    dlg.answerButton(No);   // keep the one that is there, build the rest
    std::vector<QStringList> rows;
    QStringList packed;
    dlg.answerModal([&](QWidget* summary) {
        auto* table = summary->findChild<QTableWidget*>("SeasonTable");
        ASSERT_NE(table, nullptr);
        for (int r = 0; r < table->rowCount(); ++r)
            rows.push_back({table->item(r, 1)->text(), table->item(r, 2)->text()});
        summary->findChild<QPushButton*>("SeasonMakeZip")->click();
    });
    dlg.answerModal([&](QWidget* zip) {
        EXPECT_EQ(zip, Form7);
        for (int i = 0; i < Form7->CheckListBox2()->count(); ++i)
            packed << Form7->CheckListBox2()->item(i)->text();
    });
    // The key works with the menus shown too, and the menu item and button show it.
    QTest::keyClick(Form1, Qt::Key_F3);
    Form1->activateWindow();
    QApplication::setActiveWindow(Form1);
    EXPECT_EQ(Form1->findChild<QPushButton*>("Button11")->toolTip(),
              "Create Season (Ctrl+Shift+S)");
    EXPECT_EQ(Form1->findChild<QAction*>("CreateSeason1")->shortcut(),
              QKeySequence("Ctrl+Shift+S"));
    QTest::keyClick(Form1->findChild<QLineEdit*>("Edit1"), Qt::Key_S,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(dlg.allAnswered());

    ASSERT_GE(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[0].text.toStdString(), "2001: 8 clubs in AL and NL. Build them into " +
                                                   home.path() + " as 01ALasa.dat to 01NLwrn.dat?");
    EXPECT_TRUE(
        dlg.asked[1].text.startsWith("1 of the 8 team files is already there "
                                     "(01ALthe.dat)"));
    // Named as Auto File Name names a file: the game's eight characters and ".dat".
    const char* files[] = {"01ALasa.dat", "01ALgrn.dat", "01ALhos.dat", "01ALthe.dat",
                           "01NLasd.dat", "01NLgrr.dat", "01NLsat.dat", "01NLwrn.dat"};
    ASSERT_EQ(rows.size(), 8u);
    QStringList built;
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(rows[i][0], files[i]);
        if (rows[i][0] == "01ALthe.dat") {
            EXPECT_EQ(rows[i][1], "skipped: the file was kept");
            continue;
        }
        if (rows[i][0] == "01NLwrn.dat") {
            EXPECT_EQ(rows[i][1].toStdString(),
                      "failed: " + home.file("01NLwrn.dat") + " is not a regular file");
            continue;
        }
        // Every built row says what the team file check found, and it found nothing.
        EXPECT_EQ(rows[i][1], "built, no problems") << files[i];
        EXPECT_TRUE(checkTeamFile(readLines(home.file(files[i])).value()).empty());
        built << files[i];
    }
    EXPECT_EQ(home.read("01ALthe.dat"), "kept by the user\r\n");
    EXPECT_EQ(packed, built);
    destroyForms();
}

}  // namespace
}  // namespace rostrix
