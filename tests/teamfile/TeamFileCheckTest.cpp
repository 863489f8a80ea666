// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "format/TeamLayout.h"
#include "teamfile/TeamFileCheck.h"

namespace rostrix {
namespace {

std::vector<std::string> sample() {
    return sampleTeamLines();
}

TEST(TeamFileCheck, AcceptsSoundFiles) {
    EXPECT_EQ(describeProblems(checkTeamFile(sample())), "");
    // A starter the roster filter took out, and a name that fills its 18 columns.
    auto lines = sample();
    lines[3] = std::string(kPlaceholderLine);
    lines[12].replace(9, 18, "Abcdefghijklmnopqr");
    EXPECT_EQ(describeProblems(checkTeamFile(lines)), "");
    // The groups' order, their games and their positions are left to the builder: only
    // their form counts.
    for (const auto& [line, column, text] : std::vector<std::tuple<int, int, std::string>>{
             {4, 82, "099-D"},
             {4, 82, "011-3"},
             {2, 76, "000-8"},
             {2, 76, "003-1"},
             // a pitcher who batted every day, on a batter line with his own code
             {2, 7, "01"}}) {
        lines = sample();
        lines[line - 1].replace(column - 1, text.size(), text);
        EXPECT_EQ(describeProblems(checkTeamFile(lines)), "") << text;
    }
}

TEST(TeamFileCheck, NamesTheLineAndColumnOfEachFault) {
    struct Case {
        std::size_t line;    // 1-based line to change
        std::size_t column;  // first column overwritten
        std::string text;
        std::size_t expectLine;
        std::size_t expectColumn;
    };
    const Case cases[] = {
        {1, 10, " ", 1, 10},      // title letter
        {1, 12, "x", 1, 12},      // season digits
        {1, 30, "C", 1, 28},      // batter column titles
        {1, 16, " ", 1, 16},      // team name not left-aligned
        {2, 28, "058", 2, 28},    // leading zero
        {2, 31, "7", 2, 31},      // blank between fields
        {2, 60, "S", 2, 60},      // bats
        {2, 61, "x", 2, 61},      // blank after bats
        {2, 76, "062-X", 2, 76},  // group position
        {2, 79, "_", 2, 76},      // group hyphen
        {4, 81, "x", 4, 81},      // blank between groups
        {2, 7, "11", 2, 7},       // batter's position code
        {2, 5, "7", 2, 5},        // flag
        {2, 1, "0x", 2, 1},       // leading digits
        {2, 10, " ", 2, 10},      // name left-aligned
        {3, 16, ".", 3, 10},      // "Surname, Given"
        {12, 7, "02", 12, 7},     // pitcher's position code
        {12, 56, "4 7", 12, 56},  // ERA with a blank inside
        {12, 60, "X", 12, 60},    // throws
        {12, 76, " 1a", 12, 76},  // games started
        {11, 30, "x", 11, 28},    // pitcher titles
        {24, 5, "1", 24, 5},      // section word
        {24, 90, "x", 24, 28},    // bench titles
    };
    for (const Case& c : cases) {
        auto lines = sample();
        lines[c.line - 1].replace(c.column - 1, c.text.size(), c.text);
        const auto problems = checkTeamFile(lines);
        ASSERT_EQ(problems.size(), 1u) << c.line << ":" << c.column << "\n"
                                       << describeProblems(problems);
        EXPECT_EQ(problems[0].line, c.expectLine) << c.line << ":" << c.column;
        EXPECT_EQ(problems[0].column, c.expectColumn) << c.line << ":" << c.column;
    }
}

TEST(TeamFileCheck, FindsLinesOfTheWrongLengthOrKind) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> change;
        std::size_t line;
        std::size_t column;
        const char* message = nullptr;
    };
    const char* const tab = "a tab character; team files use blanks";
    const Case cases[] = {
        // The tab is named where it stands, before the length it throws out.
        {"a tab in the title line", [](auto& l) { l[0].insert(11, "\t"); }, 1, 12, tab},
        {"a tab for blanks", [](auto& l) { l[12].replace(8, 1, "\t"); }, 13, 9, tab},
        {"batter line of 81", [](auto& l) { l[1] += " "; }, 2, 0},
        {"batter line of 84", [](auto& l) { l[3].resize(84); }, 4, 0},
        {"pitcher line of 79", [](auto& l) { l[11] += " "; }, 12, 0},
        {"title line of 91", [](auto& l) { l[0].pop_back(); }, 1, 0},
        {"eight starters", [](auto& l) { l.erase(l.begin() + 9); }, 10, 1},
        {"ten starters", [](auto& l) { l.insert(l.begin() + 1, l[1]); }, 11, 0},
        {"placeholder on the bench", [](auto& l) { l[25] = "00    01"; }, 26, 1},
        {"no bench line", [](auto& l) { l.erase(l.begin() + 23, l.end()); }, 24, 0},
        {"empty file", [](auto& l) { l.clear(); }, 1, 0},
    };
    for (const Case& c : cases) {
        auto lines = sample();
        c.change(lines);
        const auto problems = checkTeamFile(lines);
        ASSERT_FALSE(problems.empty()) << c.what;
        EXPECT_EQ(problems[0].line, c.line) << c.what << "\n" << describeProblems(problems);
        EXPECT_EQ(problems[0].column, c.column) << c.what << "\n" << describeProblems(problems);
        if (c.message) {
            EXPECT_EQ(problems[0].message, c.message) << c.what;
        }
    }
}

}  // namespace
}  // namespace rostrix
