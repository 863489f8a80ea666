// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QValueAxis>
#include <QtTest/QTest>
#include <filesystem>

#include "app/Forms.h"
#include "careers/CareerCsv.h"
#include "careers/gui/CareerChart.h"
#include "careers/gui/ColumnChooser.h"
#include "careers/tmCareers.h"
#include "platform/LineFile.h"
#include "shell/tmHome.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmPlyrArchive.h"

namespace rostrix {
namespace {

const std::string kTitle =
    "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P\r\n";

// A batter with a season on two teams and a damaged season, and a pitcher.
const std::string kArchive =
    "[Able, Abe]\r\n" + kTitle +
    "2000 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n"
    "2001 Oakland     ==08 208  62  10   0   7  33  38  23 R   7  6  3  53 053-4\r\n"
    "2001 Fresno      ==08 100  30   5   2   3  10  20  15 R   1  0  1  30 030-8\r\n"
    "2002 Fresno      ==08 1x0  30   5   2   3  10  20  15 R   1  0  1  30 030-8\r\n"
    "[Pitch, Pete]\r\n" +
    kTitle +
    "2000 Oakland     ==01 101 104  28   2  12  52  68 437 R   8  5  0  16  16\r\n"
    "2001 Oakland     ==01  39  35   5   0   2  16  34 279 R   4  2 19  36   0\r\n";

template <class T>
T* in(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QString cell(QTableView* table, int row, const char* title) {
    auto* model = table->model();
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == QLatin1String(title))
            return model->index(row, c).data().toString();
    ADD_FAILURE() << "no column " << title;
    return {};
}

void clickRow(QTableView* table, int row) {
    const QRect rect = table->visualRect(table->model()->index(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

std::vector<QPointF> points(TForm15& w) {
    const auto list = in<CareerChart>(&w, "Chart")->series()->points();
    return {list.begin(), list.end()};
}

// The window shown and active over the home folder's archive, as its menu opens it.
class CareersWindowOnArchive : public ::testing::Test {
protected:
    CareersWindowOnArchive() {
        dir.write("player.dat", kArchive);
        w.show();
        QApplication::setActiveWindow(&w);
        w.loadArchive(dir.path());
    }
    test::TempFolder dir;
    TForm15 w;
};

TEST_F(CareersWindowOnArchive, SearchOpensAPlayerWhoseTableAndChartShowTheSameFigures) {
    EXPECT_EQ(w.windowTitle(), "Rostrix - Careers");
    auto* list = in<QTableView>(&w, "PlayerList");
    auto* table = in<QTableView>(&w, "SeasonTable");
    auto* chart = in<QComboBox>(&w, "ChartCombo");
    EXPECT_EQ(list->model()->rowCount(), 2);

    QTest::keyClicks(in<QLineEdit>(&w, "SearchEdit"), "PITCH");
    ASSERT_EQ(list->model()->rowCount(), 1);
    clickRow(list, 0);
    ASSERT_EQ(table->model()->rowCount(), 3);  // two seasons and the totals
    EXPECT_EQ(cell(table, 0, "ERA"), "4.37");
    EXPECT_EQ(cell(table, 2, "Year"), "Career");
    EXPECT_EQ(cell(table, 2, "ERA"), "3.93");
    EXPECT_EQ(chart->currentText(), "SO");
    const std::vector<QPointF> strikeOuts{{2000, 68}, {2001, 34}};
    EXPECT_EQ(points(w), strikeOuts);
    chart->setCurrentIndex(chart->findText("ERA"));
    ASSERT_EQ(points(w).size(), 2u);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(points(w)[row].x(), cell(table, row, "Year").toInt());
        EXPECT_DOUBLE_EQ(points(w)[row].y(), cell(table, row, "ERA").toDouble());
    }

    // The batter: the two 2001 teams make one point; the damaged 2002 season makes none.
    QLineEdit* search = in<QLineEdit>(&w, "SearchEdit");
    search->clear();
    QTest::keyClicks(search, "abe");
    clickRow(list, 0);
    ASSERT_EQ(table->model()->rowCount(), 5);
    EXPECT_EQ(chart->currentText(), "HR");
    const std::vector<QPointF> homeRuns{
        {2000, cell(table, 0, "HR").toDouble()},
        {2001, cell(table, 1, "HR").toDouble() + cell(table, 2, "HR").toDouble()}};
    EXPECT_EQ(points(w), homeRuns);
    EXPECT_EQ(cell(table, 4, "HR"), "19");
    const QModelIndex bad = table->model()->index(3, 3);
    EXPECT_EQ(bad.data().toString(), "1x0");
    EXPECT_EQ(bad.data(Qt::ToolTipRole).toString(), "AB: not a number");
    EXPECT_EQ(in<QLabel>(&w, "TotalsNote")->text(),
              "1 season with a problem left out of the totals");
}

TEST_F(CareersWindowOnArchive, ALeaderRowOpensThatPlayer) {
    QTest::keyClicks(in<QLineEdit>(&w, "SearchEdit"), "able");
    auto* tabs = in<QTabWidget>(&w, "Tabs");
    tabs->setCurrentWidget(in<QWidget>(&w, "LeadersTab"));
    auto* stat = in<QComboBox>(&w, "StatCombo");
    stat->setCurrentIndex(stat->findText("Pitching: ERA", Qt::MatchStartsWith));
    auto* spin = in<QSpinBox>(&w, "MinimumSpin");
    EXPECT_TRUE(spin->isEnabled());
    auto* leaders = in<QTableView>(&w, "LeaderTable");
    EXPECT_EQ(leaders->model()->rowCount(), 0);  // 140 innings, below the 250 asked for
    spin->setValue(100);
    ASSERT_EQ(leaders->model()->rowCount(), 1);
    EXPECT_EQ(leaders->model()->index(0, 2).data().toString(), "3.93");
    leaders->setCurrentIndex(leaders->model()->index(0, 1));
    QTest::keyClick(leaders, Qt::Key_Return);
    EXPECT_EQ(tabs->currentWidget(), in<QWidget>(&w, "PlayersTab"));
    EXPECT_EQ(in<QLabel>(&w, "PlayerLabel")->text(), "Seasons of Pitch, Pete (pitcher)");
    // The search that hid him is cleared, and he is the one chosen in the list.
    EXPECT_EQ(in<QLineEdit>(&w, "SearchEdit")->text(), "");
    auto* list = in<QTableView>(&w, "PlayerList");
    EXPECT_EQ(list->currentIndex().data().toString(), "Pitch, Pete");
}

// Leaders: every column as wide as its contents, none stretched; the headers' menu hides
// a column and it stays hidden. The search: a player it leaves out leaves the right side;
// Down and Enter open the first player found; the chart's axis goes in round steps.
TEST_F(CareersWindowOnArchive, LeaderColumnsFitAndTheSearchKeysLeadToTheList) {
    w.resize(1000, 700);
    in<QTabWidget>(&w, "Tabs")->setCurrentWidget(in<QWidget>(&w, "LeadersTab"));
    auto* stat = in<QComboBox>(&w, "StatCombo");
    auto* leaders = in<QTableView>(&w, "LeaderTable");
    QHeaderView* header = leaders->horizontalHeader();
    EXPECT_FALSE(header->stretchLastSection());
    ASSERT_EQ(leaders->model()->rowCount(), 1);
    EXPECT_GE(header->sectionSize(1), leaders->fontMetrics().horizontalAdvance("Able, Abe"));
    EXPECT_LT(header->length(), leaders->viewport()->width());  // a wide window stays empty
    auto* chooser = leaders->findChild<ColumnChooser*>();
    ASSERT_NE(chooser, nullptr);
    std::unique_ptr<QMenu> menu(chooser->makeMenu(&w));
    ASSERT_EQ(menu->actions().size(), 6);
    menu->actions()[3]->setChecked(false);  // Seasons
    EXPECT_TRUE(leaders->isColumnHidden(3));
    stat->setCurrentIndex(stat->findText("Pitching: SO", Qt::MatchStartsWith));
    EXPECT_TRUE(leaders->isColumnHidden(3));
    EXPECT_FALSE(leaders->isColumnHidden(2));

    in<QTabWidget>(&w, "Tabs")->setCurrentWidget(in<QWidget>(&w, "PlayersTab"));
    auto* search = in<QLineEdit>(&w, "SearchEdit");
    auto* list = in<QTableView>(&w, "PlayerList");
    auto* player = in<QLabel>(&w, "PlayerLabel");
    auto* chart = in<CareerChart>(&w, "Chart");
    EXPECT_EQ(player->text(), "Seasons of Able, Abe (batter)");
    search->setFocus();
    QTest::keyClicks(search, "pitch");
    EXPECT_EQ(player->text(), "Seasons");
    EXPECT_EQ(in<QTableView>(&w, "SeasonTable")->model()->rowCount(), 0);
    EXPECT_TRUE(points(w).empty());
    for (QAbstractAxis* axis : chart->chart()->axes()) EXPECT_FALSE(axis->isVisible());
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentIndex().row(), 0);
    EXPECT_EQ(player->text(), "Seasons of Pitch, Pete (pitcher)");
    // Strike-outs of 68 and 34: steps of ten up to 70, not fifths of the highest.
    auto* values = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).first());
    EXPECT_TRUE(values->isVisible());
    EXPECT_EQ(std::tuple(values->min(), values->max(), values->tickInterval()),
              std::tuple(0.0, 70.0, 10.0));
    search->setFocus();
    search->clear();
    QTest::keyClicks(search, "abe");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(player->text(), "Seasons of Able, Abe (batter)");

    // The next opening, in this run or a later one, keeps the hidden column and the divider.
    auto* splitter = in<QSplitter>(&w, "Splitter");
    splitter->setSizes({200, 700});
    const int listWidth = splitter->sizes().first();
    w.hide();
    {
        TForm15 again;
        again.resize(w.size());
        again.show();
        EXPECT_EQ(in<QSplitter>(&again, "Splitter")->sizes().first(), listWidth);
        EXPECT_EQ(
            in<QTableView>(&again, "LeaderTable")->findChild<ColumnChooser*>()->hiddenTitles(),
            QStringList{"Seasons"});
    }
}

// Tab reaches every control of each page and comes round again.
TEST_F(CareersWindowOnArchive, TabReachesEveryControl) {
    const auto reached = [&] {
        QStringList names;
        for (int i = 0; i < 12; ++i) {
            names << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        names.removeDuplicates();
        names.sort();
        return names;
    };
    EXPECT_EQ(reached(),
              QStringList({"Chart", "ChartCombo", "CloseButton", "ExportButton", "PlayerList",
                           "SearchEdit", "SeasonTable", "qt_tabwidget_tabbar"}));
    in<QTabWidget>(&w, "Tabs")->setCurrentIndex(1);
    in<QComboBox>(&w, "StatCombo")->setFocus();
    EXPECT_EQ(reached(),
              QStringList({"CloseButton", "LeaderTable", "StatCombo", "qt_tabwidget_tabbar"}));
}

TEST(CareersWindow, AMissingArchiveSaysWhereItIsAndHowItGetsFilled) {
    test::TempFolder dir;
    TForm15 w;
    w.loadArchive(dir.path());
    EXPECT_EQ(in<QTableView>(&w, "PlayerList")->model()->rowCount(), 0);
    const QString line = in<QLabel>(&w, "ArchiveLabel")->text();
    EXPECT_TRUE(line.contains(QString::fromStdString(dir.file("player.dat"))))
        << line.toStdString();
    EXPECT_TRUE(line.contains("\"Write all\"")) << line.toStdString();
    EXPECT_FALSE(in<QPushButton>(&w, "ExportButton")->isEnabled());

    // Something there that is no archive to read is named with its cause, as every reader
    // names it: a folder, a device (as a pipe, never waited on), a loop of links.
    const std::string path = dir.file("player.dat");
    for (const int kind : {0, 1, 2}) {
        std::filesystem::remove(path);
        if (kind == 0) std::filesystem::create_directory(path);
        if (kind == 1) std::filesystem::create_symlink("/dev/null", path);
        if (kind == 2) std::filesystem::create_symlink(path, path);
        w.loadArchive(dir.path());
        const std::string said[] = {"Cannot read " + path + ": Is a directory.",
                                    path + " is not a regular file.",
                                    "Cannot read " + path + ": Too many levels of symbolic links."};
        EXPECT_EQ(in<QLabel>(&w, "ArchiveLabel")->text().toStdString(), said[kind]);
    }
}

TEST(CareersWindow, ExportAsksBeforeReplacingAFileAndWritesTheCareer) {
    test::TempFolder dir;
    dir.write("player.dat", kArchive);
    dir.write("taken.csv", "keep me");
    TForm15 w;
    w.loadArchive(dir.path());
    w.openCareer(0);
    test::ScriptedDialogs dlg;
    dlg.answerPath(QString::fromStdString(dir.file("taken.csv")));
    dlg.answerButton(No);
    dlg.answerPath(QString::fromStdString(dir.file("abe.csv")));
    in<QPushButton>(&w, "ExportButton")->click();
    ASSERT_EQ(dlg.asked.size(), 3u);
    EXPECT_EQ(dlg.asked[0].file.fileName, "Able_Abe.csv");
    EXPECT_EQ(dlg.asked[1].text, "taken.csv already exists.  Replace it?");
    EXPECT_EQ(dir.read("taken.csv"), "keep me");
    const CareerArchive archive(dir.file("player.dat"));
    EXPECT_EQ(dir.read("abe.csv"), careerCsv("Able, Abe", archive.seasons(0)));
}

// Every way in: the main window's menu and Ctrl+R in both layouts, and the player stat
// archive window's button; each reads the home folder's archive as it is then.
TEST(CareersWindow, OpensFromTheMainWindowInEitherLayoutAndFromThePlayerArchive) {
    test::TempFolder home(true);
    createForms();
    Form1->show();
    QApplication::setActiveWindow(Form1);
    test::ScriptedDialogs dlg;
    QStringList seen;
    const auto look = [&](QWidget* window) {
        seen << window->windowTitle() + ": " + in<QLabel>(window, "ArchiveLabel")->text().left(17);
    };
    EXPECT_EQ(in<QAction>(Form1, "Careers1")->text(), "Careers");
    dlg.answerModal(look);
    in<QAction>(Form1, "Careers1")->trigger();
    home.write("player.dat", kArchive);
    for (const int layout : {113, 114}) {
        Form1->FormKeyUp(layout);
        dlg.answerModal(look);
        QTest::keyClick(Form1, Qt::Key_R, Qt::ControlModifier);
    }
    dlg.answerModal(look);
    in<QPushButton>(Form3, "Button4")->click();
    EXPECT_TRUE(dlg.allAnswered());
    EXPECT_EQ(seen, QStringList({"Rostrix - Careers: No player archive",
                                 "Rostrix - Careers: 2 players, 2 care",
                                 "Rostrix - Careers: 2 players, 2 care",
                                 "Rostrix - Careers: 2 players, 2 care"}));
    destroyForms();
}

}  // namespace
}  // namespace rostrix
