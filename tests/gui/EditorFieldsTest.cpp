// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest/QTest>
#include <cstring>

#include "platform/gui/PaneText.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "format/TeamLayout.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

class EditorFields : public ::testing::Test {
protected:
    EditorFields() {
        form.show();
        QApplication::setActiveWindow(&form);
        pane()->setFocus();
    }
    QPlainTextEdit* pane() { return form.Memo1(); }
    QString place() { return form.findChild<QLabel*>("CursorPlace")->text(); }
    void putCursor(int line, int column) {
        QTextCursor c(pane()->document()->findBlockByNumber(line - 1));
        c.setPosition(c.position() + column - 1);
        pane()->setTextCursor(c);
    }
    test::TempFolder dir{true};
    test::ScriptedDialogs dlg;
    TForm4 form;
};

// Over the sample team: Tab to the start of the next field (the end of the line past the
// last), Shift+Tab to the start of the one before; the line under the pane names it.
TEST_F(EditorFields, TabMovesBetweenFieldsAndTheLineUnderThePaneNamesThem) {
    struct Case {
        int line, column;
        bool back;
        int to;
        const char* place;
        const char* keys = nullptr;  // typed instead of Tab
        const char* mode = nullptr;  // the status line's INS or OVR afterwards
        std::string after{};         // the line afterwards, taken back by one undo
        int toLine = 0;              // the line the cursor goes to, when another
    };
    const auto over = [](int line, int column, const char* text) {
        std::string l = sampleTeamLines()[line - 1];
        return l.replace(column - 1, strlen(text), text);
    };
    const Case cases[] = {
        {1, 1, false, 10, "Line 1, column 10: letter"},
        {1, 11, false, 16, "Line 1, column 16: team name"},
        {1, 20, true, 16, "Line 1, column 16: team name"},
        {1, 28, false, 93, "Line 1, column 93"},
        {2, 1, false, 5, "Line 2, column 5: flag"},
        {2, 10, false, 28, "Line 2, column 28: at bats"},
        {2, 58, false, 60, "Line 2, column 60: bats"},
        {2, 76, false, 81, "Line 2, column 81"},  // one group: the line ends at 80
        {2, 81, true, 76, "Line 2, column 76: games-at-position group"},
        {2, 59, true, 56, "Line 2, column 56: runs batted in"},
        {2, 1, true, 1, "Line 2, column 1: digits"},
        {5, 57, false, 60, "Line 5, column 60: bats"},
        {5, 76, false, 82, "Line 5, column 82: games-at-position group"},
        {5, 88, false, 93, "Line 5, column 93"},
        {11, 1, false, 28, "Line 11, column 28: column titles"},
        {12, 58, false, 60, "Line 12, column 60: throws"},
        {12, 72, false, 76, "Line 12, column 76: games started"},
        {12, 76, false, 79, "Line 12, column 79"},
        {12, 30, true, 28, "Line 12, column 28: innings"},
        {24, 28, true, 1, "Line 24, column 1: section word"},
        {25, 58, false, 60, "Line 25, column 60: bats"},  // the bench bats again
        // Insert switches to overwriting, where no key moves a column.
        {2, 60, false, 60, "Line 2, column 60: bats", "Ins", "OVR"},
        {2, 60, false, 61, "Line 2, column 61", "R", "OVR", over(2, 60, "R")},
        {3, 31, false, 30, "Line 3, column 30: at bats", "Backspace", "OVR", over(3, 30, " ")},
        {4, 28, false, 28, "Line 4, column 28: at bats", "Del", "OVR", over(4, 28, " ")},
        {4, 81, false, 1, "Line 5, column 1: digits", "Return", "OVR", {}, 5},
        {12, 1, false, 1, "Line 12, column 1: digits", "Ins", "INS"},
    };
    for (const Case& c : cases) {
        putCursor(c.line, c.column);
        if (!c.keys) {
            QTest::keyClick(pane(), c.back ? Qt::Key_Backtab : Qt::Key_Tab,
                            c.back ? Qt::ShiftModifier : Qt::NoModifier);
            EXPECT_FALSE(pane()->document()->isModified());
        } else if (strlen(c.keys) == 1) {
            QTest::keyClicks(pane(), c.keys);
        } else {
            QTest::keySequence(pane(), QKeySequence(QString::fromLatin1(c.keys)));
        }
        const QTextCursor at = pane()->textCursor();
        EXPECT_EQ(at.blockNumber() + 1, c.toLine ? c.toLine : c.line) << c.line << ":" << c.column;
        EXPECT_EQ(at.positionInBlock() + 1, c.to) << c.line << ":" << c.column;
        EXPECT_FALSE(at.hasSelection());
        EXPECT_EQ(place(), c.place) << c.line << ":" << c.column;
        if (c.mode) {
            EXPECT_EQ(form.findChild<QLabel*>("TypingMode")->text(), c.mode);
        }
        if (c.after.empty()) continue;
        EXPECT_EQ(paneLines(pane())[c.line - 1], c.after) << c.keys;
        pane()->undo();
        EXPECT_EQ(paneLines(pane()), sampleTeamLines()) << c.keys;
    }
    // No tab got in; Ctrl+Tab leaves the pane, and its tool tip teaches both.
    EXPECT_EQ(paneLines(pane()), sampleTeamLines());
    EXPECT_TRUE(pane()->toolTip().contains("Tab moves to the next field"));
    EXPECT_TRUE(pane()->toolTip().contains("Ctrl+Tab"));
    QTest::keyClick(pane(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_NE(QApplication::focusWidget(), pane());
    auto* strip = form.findChild<QLabel*>("CursorPlace");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(strip)->role(), QAccessible::StatusBar);
}

// The window opens at its own size and grows; the pane takes the room, the tool bar and
// the line under the pane keep theirs.
TEST_F(EditorFields, ThePaneGrowsWithTheWindow) {
    EXPECT_EQ(form.size(), QSize(795, 425));
    const QRect pane0 = pane()->geometry();
    auto* strip = form.findChild<QLabel*>("CursorPlace");
    EXPECT_EQ(pane0.bottom() + 1, strip->y());
    EXPECT_EQ(strip->geometry().bottom() + 1, 425);
    form.resize(1100, 700);
    EXPECT_EQ(pane()->geometry(), QRect(pane0.topLeft(), pane0.size() + QSize(305, 275)));
    EXPECT_EQ(strip->geometry().bottom() + 1, 700);
    EXPECT_EQ(form.findChild<QWidget*>("ToolBar1")->height(), 29);
}

}  // namespace
}  // namespace rostrix
