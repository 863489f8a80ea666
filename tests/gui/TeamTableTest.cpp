// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAccessibleTableCellInterface>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest/QTest>

#include "format/TeamLayout.h"
#include "platform/gui/PaneText.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/gui/TeamTableModel.h"
#include "teamfile/tmCheckPanel.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

using namespace field;

std::string put(std::size_t line, std::size_t column, const std::string& text) {
    return sampleTeamLines()[line - 1].substr(0, column - 1) + text +
           sampleTeamLines()[line - 1].substr(
               std::min<std::size_t>(column - 1 + text.size(), sampleTeamLines()[line - 1].size()));
}

int columnOf(const TeamField& f) {
    for (int c = 1;; ++c)
        if (*TeamTableModel::fieldOf(c) == f) return c;
}

// Each edit on the sample team, through the model as the table makes it: the line it leaves,
// or why it is refused (and then the document is untouched). One undo takes an edit back.
TEST(TeamTableModel, CellEditsLayTheValueOutInItsFieldOrSayWhyNot) {
    const std::string line4 = sampleTeamLines()[3];
    struct Case {
        int line;
        const TeamField& f;
        const char* value;
        std::string after;    // the line afterwards; empty: refused
        const char* refusal;  // what it says
    };
    const Case cases[] = {
        {2, kAtBats, "519", put(2, 28, "519"), ""},
        {2, kAtBats, " 07 ", put(2, 28, "  7"), ""},
        {2, kAtBats, "0", put(2, 28, "  0"), ""},
        {2, kAtBats, "1234", "", "at bats has room for 3 digits"},
        {2, kAtBats, "5a", "", "at bats must be a whole number"},
        {2, kAtBats, "", "", "at bats needs a number"},
        {2, kStolenBases, "100", "", "stolen bases has room for 2 digits"},
        {2, kBats, "r", put(2, 60, "R"), ""},
        {2, kBats, "S", "", "bats must be L or R"},
        {2, kFlag, "a", put(2, 5, "a"), ""},
        {5, kFlag, "", put(5, 5, " "), ""},
        {2, kPosition, "7", put(2, 7, "07"), ""},
        {2, kPosition, "11", "", "a batter's position code must be 01 to 10"},
        {2, kName, " Ruiz, Al ", put(2, 10, "Ruiz, Al          "), ""},
        {2, kName, "Wolcott-Hargreaves, Al", "", "name has room for 18 characters"},
        {2, kName, "Ruiz", "", "the name must read \"Surname, Given\""},
        {2, kName, "Ruiz, J\u00e9r\u00f4me", put(2, 10, "Ruiz, J\xe9r\xf4me    "), ""},
        {2, kName, "Ruiz, \u20acl", "", "a team file cannot hold \u20ac"},
        {2, kName, "Ruiz,\tAl", "", "a team file holds no tabs or line breaks in a field"},
        // A group is added after the ones the line has and cleared from the end; nothing
        // between them is ever left blank.
        {2, kGroup2, "5-d", sampleTeamLines()[1] + " 005-D", ""},
        {2, kGroup3, "001-8", "", "fill the games-at-position group before it first"},
        {4, kGroup2, "", line4.substr(0, 80), ""},
        {5, kGroup2, "", "", "clear the games-at-position group after it first"},
        {5, kGroup3, "", sampleTeamLines()[4].substr(0, 86), ""},
        {5, kGroup1, "12-X", "", "a games-at-position group must read NNN-P, P a digit or D"},
        {5, kGroup1, "", "", "a games-at-position group must read NNN-P, P a digit or D"},
        {12, kInnings, "99", put(12, 28, " 99"), ""},
        {12, kEarnedRunAverage, "4.37", "", "earned-run average must be a whole number"},
        {12, kThrows, "l", put(12, 60, "L"), ""},
        {12, kGamesStarted, "9", put(12, 76, "  9"), ""},
        {12, kPosition, "2", "", "a pitcher's position code must be 01"},
        {1, kSeason, "1927", put(1, 11, "1927"), ""},
        {1, kTeamName, "New York", put(1, 16, "New York    "), ""},
        {1, kTeamName, "Philadelphia A", "", "team name has room for 12 characters"},
        {1, kLetter, "1", "", "the letter must be a letter"},
    };
    QTextDocument document;
    TeamTableModel model(&document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy refused(&model, &TeamTableModel::refused);
    QString sample;
    for (const std::string& line : sampleTeamLines()) sample += QString::fromLatin1(line) + '\n';
    for (const Case& c : cases) {
        const std::string what =
            std::to_string(c.line) + " " + std::string(c.f.name) + " " + c.value;
        document.setPlainText(sample);
        refused.clear();
        QString why;
        if (c.line == 1) {  // the title line is no row; its strip writes through the model
            why = model.writeField(0, LineRole::Title, c.f, QString::fromUtf8(c.value));
        } else {
            const QModelIndex cell = model.index(model.rowOf(c.line - 1), columnOf(c.f));
            ASSERT_TRUE(cell.flags() & Qt::ItemIsEditable) << what;
            EXPECT_EQ(model.setData(cell, QString::fromUtf8(c.value)), c.after.empty() == false);
            ASSERT_EQ(refused.size(), c.after.empty() ? 1 : 0) << what;
            if (!refused.isEmpty()) why = refused[0][0].toString();
        }
        EXPECT_EQ(why, QString::fromUtf8(c.refusal)) << what;
        const std::string now =
            document.findBlockByNumber(c.line - 1).text().toLatin1().toStdString();
        EXPECT_EQ(now, c.after.empty() ? sampleTeamLines()[c.line - 1] : c.after) << what;
        document.undo();
        EXPECT_EQ(document.findBlockByNumber(c.line - 1).text().toLatin1().toStdString(),
                  sampleTeamLines()[c.line - 1])
            << what;
        EXPECT_FALSE(document.isUndoAvailable()) << what;
    }
}

class EditorTable : public ::testing::Test {
protected:
    EditorTable() {
        dir.write("team.dat", joinLinesCrlf(sampleTeamLines()));
        setPaneLines(form.Memo1(), sampleTeamLines());
        form.CurrentFile = dir.file("team.dat");
        form.Memo1()->document()->setModified(false);
        form.show();
        QApplication::setActiveWindow(&form);
        form.Memo1()->setFocus();
    }
    QTableView* table() { return form.findChild<QTableView*>("PlayerTable"); }
    QString status(const char* label) { return form.findChild<QLabel*>(label)->text(); }
    std::vector<std::string> lines() { return paneLines(form.Memo1()); }
    // The table's cell of a field of a file line (from 1), wherever sorting put its row.
    QModelIndex cell(int line, const TeamField& f) {
        for (int r = 0; r < table()->model()->rowCount(); ++r)
            if (table()->model()->headerData(r, Qt::Vertical).toInt() == line)
                return table()->model()->index(r, columnOf(f));
        return {};
    }
    // Enter or F2 on the current cell, a value, and Enter.
    void type(Qt::Key start, const char* value) {
        QTest::keyClick(table(), start);
        QTest::keyClicks(QApplication::focusWidget(), value);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();  // the editor hands its value over when it closes
    }

    test::TempFolder dir{true};
    test::ScriptedDialogs dlg;
    TForm4 form;
};

TEST_F(EditorTable, ACellEditIsOneUndoStepAndSavesByteForByte) {
    QTest::keyClick(form.Memo1(), Qt::Key_F6);
    ASSERT_TRUE(table()->isVisible());
    EXPECT_FALSE(form.Memo1()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), table());
    table()->setCurrentIndex(cell(2, kAtBats));
    EXPECT_EQ(status("CursorPlace"), "Line 2, column 28: at bats");

    // A value that does not fit stays in its cell with the reason; nothing is written.
    type(Qt::Key_Return, "1234");
    QWidget* editor = QApplication::focusWidget();
    EXPECT_NE(editor, table());
    EXPECT_EQ(status("EditRefusal"), "Refused: at bats has room for 3 digits");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(lines(), sampleTeamLines());
    EXPECT_FALSE(form.Memo1()->document()->isModified());

    std::vector<std::string> edited = sampleTeamLines();
    edited[1] = put(2, 28, "519");
    type(Qt::Key_F2, "519");
    EXPECT_EQ(lines(), edited);
    EXPECT_EQ(status("SaveState"), "Modified");
    EXPECT_EQ(status("EditRefusal"), "");
    form.findChild<QAction*>("EditUndo1")->trigger();  // with the table's focus
    EXPECT_EQ(lines(), sampleTeamLines());

    type(Qt::Key_F2, "519");
    QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dir.read("team.dat"), joinLinesCrlf(edited));
    EXPECT_EQ(status("SaveState"), "Saved team.dat");
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dir.read("team.dat"), joinLinesCrlf(sampleTeamLines()));

    // Back in the text the cursor stands in the cell's field.
    QTest::keyClick(table(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), form.Memo1());
    EXPECT_EQ(form.Memo1()->textCursor().positionInBlock() + 1, 28);
    EXPECT_TRUE(dlg.asked.empty());
}

// Each heading is the file's own title over the cell, so a screen reader says "AB, 258" for a
// batter and "Inn, 101" for a pitcher; a check's problems mark their cells, F8 goes to them.
TEST_F(EditorTable, ProblemsMarkTheirCellsAndEachCellHasItsFilesHeading) {
    std::vector<std::string> faulty = sampleTeamLines();
    faulty[1][59] = 'S';
    faulty[12][59] = 'X';
    setPaneLines(form.Memo1(), faulty);
    QTest::keyClick(form.Memo1(), Qt::Key_F6);
    QTest::keyClick(table(), Qt::Key_F7);
    QTest::keyClick(table(), Qt::Key_F8);
    EXPECT_EQ(table()->currentIndex(), cell(13, kThrows));
    EXPECT_EQ(QApplication::focusWidget(), table());
    QTest::keyClick(table(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(table()->currentIndex(), cell(2, kBats));
    EXPECT_EQ(cell(2, kBats).data(Qt::ToolTipRole), "bats must be L or R");
    EXPECT_EQ(cell(2, kBats).data(Qt::BackgroundRole), QVariant(kMarkedBackground));
    EXPECT_FALSE(cell(2, kAtBats).data(Qt::BackgroundRole).isValid());

    QAccessibleTableInterface* cells =
        QAccessible::queryAccessibleInterface(table())->tableInterface();
    ASSERT_NE(cells, nullptr);
    const struct {
        int line;
        const TeamField& f;
        const char* heading;
        const char* value;
    } heard[] = {{2, kAtBats, "AB", "258"},
                 {12, kInnings, "Inn", "101"},
                 {12, kEarnedRunAverage, "ERA", "437"},
                 {2, kName, "Name", "Halloran, Mickey"}};
    for (const auto& h : heard) {
        const QModelIndex at = cell(h.line, h.f);
        QAccessibleInterface* one = cells->cellAt(at.row(), at.column());
        ASSERT_NE(one, nullptr);
        const QList<QAccessibleInterface*> headers = one->tableCellInterface()->columnHeaderCells();
        ASSERT_EQ(headers.size(), 1);
        EXPECT_EQ(headers[0]->text(QAccessible::Name), h.heading);
        // Given to the cache, which frees it whether or not Qt kept it there.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(headers[0]));
        EXPECT_EQ(one->text(QAccessible::Name), h.value);
    }

    // A click on a heading sorts the table only; a third click gives the file's order back.
    QHeaderView* headings = table()->horizontalHeader();
    const QPoint ab(headings->sectionViewportPosition(columnOf(kAtBats)) + 4, 4);
    QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, ab);
    EXPECT_NE(table()->model()->headerData(0, Qt::Vertical).toInt(), 2);
    EXPECT_EQ(lines(), faulty);
    QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, ab);
    QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, ab);
    EXPECT_EQ(table()->model()->headerData(0, Qt::Vertical).toInt(), 2);
}

// The title line's fields write on Enter and keep a refused value only while they have the
// focus; the clipboard and Redo work on cells.
TEST_F(EditorTable, TitleFieldsAndTheClipboardWriteThroughTheSameLayout) {
    QTest::keyClick(form.Memo1(), Qt::Key_F6);
    EXPECT_EQ(table()->currentIndex(), cell(2, kName));  // from line 1, which no row shows
    auto* season = form.findChild<QLineEdit*>("TitleSeason");
    season->setFocus();
    season->selectAll();
    QTest::keyClicks(season, "1927");
    QTest::keyClick(season, Qt::Key_Return);
    EXPECT_EQ(lines()[0], put(1, 11, "1927"));
    season->selectAll();
    QTest::keyClicks(season, "27x");
    QTest::keyClick(season, Qt::Key_Return);
    EXPECT_EQ(season->text(), "27x");
    EXPECT_EQ(status("EditRefusal"), "Refused: season must be digits");
    table()->setFocus();
    EXPECT_EQ(season->text(), "1927");
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(lines(), sampleTeamLines());

    table()->setCurrentIndex(cell(3, kAtBats));
    QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
    table()->setCurrentIndex(cell(2, kAtBats));
    QTest::keyClick(table(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lines()[1], put(2, 28, "208"));
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(table(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(lines()[1], put(2, 28, "208"));
    QTest::keyClick(table(), Qt::Key_X, Qt::ControlModifier);  // a count cannot be empty
    EXPECT_EQ(status("EditRefusal"), "Refused: at bats needs a number");
}

}  // namespace
}  // namespace rostrix
