// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/tmPlyrArchive.h"

namespace rostrix {
namespace {

QListWidget* list(TForm3& w) {
    return w.findChild<QListWidget*>("CheckListBox1");
}
QLabel* status(TForm3& w) {
    return w.findChild<QLabel*>("Label2");
}
void click(TForm3& w, const char* button) {
    QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
}

// The status texts the window showed, runs of the same text counted once.
QStringList shownStatuses(const QSignalSpy& spy) {
    QStringList seen;
    for (const auto& args : spy)
        if (seen.isEmpty() || seen.back() != args.at(0).toString()) seen << args.at(0).toString();
    return seen;
}

TEST(PlyrArchiveWindow, HasItsFixedLayoutAndReadsTheCurrentFolder) {
    test::TempFolder dir(true);
    TForm3 w;
    EXPECT_EQ(w.ArchiveDirectory, std::filesystem::current_path().string());
    EXPECT_EQ(w.windowTitle(), "Player Stat Archive");
    EXPECT_EQ(w.minimumSize(), QSize(689, 400));
    EXPECT_EQ(w.maximumSize(), QSize(689, 400));
    const std::pair<const char*, const char*> buttons[] = {
        {"Button1", "Write all"}, {"Button2", "Write Checked"}, {"Button3", "Close"}};
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(w.findChild<QPushButton*>(name)->text(), text) << name;
    EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "Status:");
    EXPECT_EQ(status(w)->text(), "");
    EXPECT_EQ(status(w)->width(), 281);
    EXPECT_EQ(list(w)->size(), QSize(673, 353));
    // Every character as wide as the next, so the columns line up.
    const QFontMetrics metrics(list(w)->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiiii"), metrics.horizontalAdvance("WWWWW"));
    EXPECT_EQ(QFontInfo(list(w)->font()).pixelSize(), 11);
}

TEST(PlyrArchiveWindow, WriteAllFilesTheTeamAndShowsDone) {
    test::TempFolder dir;
    TForm3 w;
    w.ArchiveDirectory = dir.path();
    w.setTeamLines(test::sampleTeam());
    ASSERT_EQ(list(w)->count(), 31);
    EXPECT_EQ(list(w)->item(4)->text().toLatin1().toStdString(), test::sampleTeam()[4]);
    click(w, "Button1");
    EXPECT_EQ(dir.read("player.dat"), test::dataFile("player-golden.dat"));
    EXPECT_EQ(status(w)->text(), "Done! Filed 28 sections into player.dat.");
    EXPECT_EQ(status(w)->toolTip().toStdString(), dir.file("player.dat"));
}

TEST(PlyrArchiveWindow, WriteCheckedFilesTheCheckedPlayersOnly) {
    test::TempFolder dir;
    TForm3 w;
    w.ArchiveDirectory = dir.path();
    w.setTeamLines(test::sampleTeam());
    QSignalSpy spy(&w, &TForm3::statusShown);
    click(w, "Button2");
    EXPECT_EQ(shownStatuses(spy), QStringList({"Nothing is ticked: tick the players to file."}));
    EXPECT_FALSE(dir.exists("player.dat"));

    w.show();
    list(w)->setFocus();
    list(w)->setCurrentRow(11);
    QTest::keyClick(list(w), Qt::Key_Space);  // the user ticks the first pitcher
    ASSERT_EQ(list(w)->item(11)->checkState(), Qt::Checked);
    click(w, "Button2");
    const std::string bytes = dir.read("player.dat");
    EXPECT_EQ(bytes.rfind("[Marchetti, Sal]\r\n", 0), 0u) << bytes;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '['), 1);

    // A new team replaces the list, every line unchecked again.
    w.setTeamLines({"only line"});
    ASSERT_EQ(list(w)->count(), 1);
    EXPECT_EQ(list(w)->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(status(w)->text(), "Done! Filed 1 section into player.dat.");
}

TEST(PlyrArchiveWindow, UnwritableArchiveShowsTheErrorAndStopsWriting) {
    test::TempFolder dir;
    test::ScriptedDialogs dialogs;
    dialogs.answerButton(Ok);
    TForm3 w;
    w.ArchiveDirectory = dir.file("missing");
    w.setTeamLines(test::sampleTeam());
    click(w, "Button1");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, "Rostrix");
    EXPECT_EQ(dialogs.asked[0].text,
              QString::fromStdString("Unable to write to " + dir.file("missing/player.dat") +
                                     ": No such file or directory."));
    EXPECT_EQ(dialogs.asked[0].icon, MsgIcon::Error);
    // The window says it too: the status never stays on "Writing data...".
    EXPECT_EQ(status(w)->text(), "Nothing was filed: " + dialogs.asked[0].text.chopped(1));
}

TEST(PlyrArchiveWindow, CloseHidesTheWindowAndFormsCreateIt) {
    createForms();
    ASSERT_NE(Form3, nullptr);
    Form3->show();
    click(*Form3, "Button3");
    EXPECT_FALSE(Form3->isVisible());
    destroyForms();
    EXPECT_EQ(Form3, nullptr);
}

}  // namespace
}  // namespace rostrix
