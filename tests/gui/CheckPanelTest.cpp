// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest/QTest>

#include "platform/gui/PaneText.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "format/TeamLayout.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

class CheckTeamFile : public ::testing::Test {
protected:
    CheckTeamFile() {
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
    }
    QPlainTextEdit* pane() { return form.Memo1(); }
    QListWidget* rows() { return form.findChild<QListWidget*>("ProblemList"); }
    QWidget* panel() { return form.findChild<QWidget*>("CheckPanel1"); }
    QStringList rowTexts() {
        QStringList texts;
        for (int i = 0; i < rows()->count(); ++i) texts << rows()->item(i)->text();
        return texts;
    }
    // The line (from 1) and column (from 1) of the pane's cursor, and what it selects.
    std::tuple<int, int, QString> cursorAt() {
        const QTextCursor c = pane()->textCursor();
        return {c.blockNumber() + 1, c.positionInBlock() + 1, c.selectedText()};
    }
    void setLine(std::size_t line, std::size_t column, const std::string& text) {
        auto l = paneLines(pane());
        l[line - 1].replace(column - 1, text.size(), text);
        setPaneLines(pane(), l);
    }

    test::TempFolder dir{true};
    test::ScriptedDialogs dlg;
    TForm4 form;
};

TEST_F(CheckTeamFile, ListsTheFaultsAndTakesTheCursorToEach) {
    auto* button = form.findChild<QToolButton*>("ToolButton30");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), "Check Team File (F7)");
    EXPECT_FALSE(button->icon().isNull());

    // Three faults: bats "S", a leading zero in the hits, and throws "X".
    setLine(2, 60, "S");
    setLine(4, 32, "097");
    setLine(13, 60, "X");
    ASSERT_TRUE(panel()->isHidden());
    const int paneHeight = pane()->height();
    QTest::keyClick(pane(), Qt::Key_F7);
    ASSERT_FALSE(panel()->isHidden());
    EXPECT_EQ(rowTexts(),
              QStringList({"line 2, column 60: bats must be L or R",
                           "line 4, column 32: hits must be a right-aligned number without "
                           "leading zeros",
                           "line 13, column 60: throws must be L or R"}));
    // A screen reader reads each row whole.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(rows());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), "Team file problems");
    ASSERT_GE(list->childCount(), 3);
    EXPECT_EQ(list->child(2)->text(QAccessible::Name), "line 13, column 60: throws must be L or R");
    // The lines at fault are marked, the pane gave up room, and nothing else is marked.
    EXPECT_EQ(pane()->extraSelections().size(), 3);
    EXPECT_EQ(pane()->extraSelections()[1].cursor.blockNumber(), 3);
    EXPECT_LT(pane()->height(), paneHeight);
    EXPECT_TRUE(form.findChild<QWidget*>("ProblemMarkers")->isVisible());

    // Enter on the second row: the cursor at line 4, column 32, the field selected.
    rows()->setFocus();
    rows()->setCurrentRow(1);
    QTest::keyClick(rows(), Qt::Key_Return);
    EXPECT_EQ(cursorAt(), std::make_tuple(4, 32, QString("097")));
    EXPECT_EQ(QApplication::focusWidget(), pane());

    // A double click on the first row goes there.
    const QRect first = rows()->visualItemRect(rows()->item(0));
    QTest::mouseClick(rows()->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(rows()->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(cursorAt(), std::make_tuple(2, 60, QString("S")));
    rows()->setCurrentRow(1);
    QTest::keyClick(rows(), Qt::Key_Return);

    // F8 goes on to the third, then wraps to the first; Shift+F8 goes back.
    const std::tuple<int, int, QString> steps[] = {{13, 60, "X"}, {2, 60, "S"}, {13, 60, "X"}};
    QTest::keyClick(pane(), Qt::Key_F8);
    EXPECT_EQ(cursorAt(), steps[0]);
    QTest::keyClick(pane(), Qt::Key_F8);
    EXPECT_EQ(cursorAt(), steps[1]);
    QTest::keyClick(pane(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(cursorAt(), steps[2]);

    // Mending one fault and checking again leaves two rows.
    setLine(4, 32, " 97");
    QTest::keyClick(pane(), Qt::Key_F7);
    EXPECT_EQ(rowTexts(), QStringList({"line 2, column 60: bats must be L or R",
                                       "line 13, column 60: throws must be L or R"}));
    EXPECT_EQ(pane()->extraSelections().size(), 2);

    // Esc closes the panel and takes the marks with it; the editor stays open.
    QTest::keyClick(rows(), Qt::Key_Escape);
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_TRUE(pane()->extraSelections().isEmpty());
    EXPECT_EQ(pane()->height(), paneHeight);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(dlg.asked.empty());
}

// A hundred thousand faulty bench lines: the list holds the first few hundred, marks only
// their lines, and says how many more there are; F8 steps round the listed ones.
TEST_F(CheckTeamFile, AnAbsurdFileListsAFewHundredAndCountsTheRest) {
    std::vector<std::string> lines = paneLines(pane());
    lines.resize(lines.size() + 100000, "");
    setPaneLines(pane(), lines);
    QTest::keyClick(pane(), Qt::Key_F7);
    ASSERT_EQ(rows()->count(), 301);
    EXPECT_EQ(rows()->item(0)->text(), "line 32: is 0 characters long, not 80 or 86 or 92");
    EXPECT_EQ(rows()->item(300)->text(), "and 99700 more problems");
    EXPECT_EQ(pane()->extraSelections().size(), 300);
    rows()->setCurrentRow(299);
    QTest::keyClick(pane(), Qt::Key_F8);
    EXPECT_EQ(std::get<0>(cursorAt()), 32);
}

TEST_F(CheckTeamFile, ASoundFileSaysSoAndClosesTheList) {
    setLine(2, 60, "S");
    form.findChild<QToolButton*>("ToolButton30")->click();
    ASSERT_FALSE(panel()->isHidden());
    setLine(2, 60, "L");
    dlg.answerButton(Ok);
    QTest::keyClick(pane(), Qt::Key_F7);
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].text, "The team file is sound: 31 lines checked.");
    EXPECT_TRUE(panel()->isHidden());
    // The close box closes the list as well.
    setLine(3, 60, "?");
    QTest::keyClick(pane(), Qt::Key_F7);
    ASSERT_EQ(rows()->count(), 1);
    form.findChild<QToolButton*>("CloseCheckPanel")->click();
    EXPECT_TRUE(panel()->isHidden());
    // Closing the editor takes an open list with it.
    QTest::keyClick(pane(), Qt::Key_F7);
    ASSERT_FALSE(panel()->isHidden());
    form.hide();
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_TRUE(pane()->extraSelections().isEmpty());
}

}  // namespace
}  // namespace rostrix
