// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAccessibleTableCellInterface>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest/QTest>

#include "format/TeamLayout.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/gui/TeamTableModel.h"
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

}  // namespace
}  // namespace rostrix
