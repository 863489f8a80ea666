// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "format/TeamLayout.h"
#include "platform/Error.h"
#include "teamfile/RosterFilter.h"

namespace rostrix {
namespace {

using Lines = std::vector<std::string>;

// Runs the filter on lines, answering every starter question with answer and recording
// which lines were asked about.
struct Outcome {
    Lines result;
    std::vector<std::size_t> asked;
};

Outcome filter(const Lines& lines, FilterKind kind, int threshold, bool answer = true) {
    Outcome run;
    auto result = runRosterFilter(lines, kind, threshold, [&](std::size_t i) {
        run.asked.push_back(i);
        return answer;
    });
    EXPECT_TRUE(result);
    if (result) run.result = *result;
    return run;
}

// The sample without the lines at the given 0-based indexes.
Lines sampleWithout(std::initializer_list<std::size_t> dropped) {
    Lines out;
    const Lines& sample = sampleTeamLines();
    for (std::size_t i = 0; i < sample.size(); ++i)
        if (std::find(dropped.begin(), dropped.end(), i) == dropped.end()) out.push_back(sample[i]);
    return out;
}

std::string withColumns(std::string line, ColumnRange range, const std::string& text) {
    line.replace(range.first - 1, range.last - range.first + 1, text);
    return line;
}

TEST(RosterFilter, WorkedExamplesOnTheSampleTeam) {
    struct Case {
        FilterKind kind;
        int threshold;
        std::vector<std::size_t> asked;
        Lines expected;  // with OK to every question
    };
    Lines atBats200 = sampleWithout({24, 25, 26, 27, 28, 29, 30});
    atBats200[4] = "00    01";
    Lines games60 = sampleWithout({24, 26, 27, 28, 29, 30});
    games60[2] = games60[4] = "00    01";
    const Case cases[] = {
        {FilterKind::BatterAtBats, 100, {}, sampleWithout({24, 25, 28, 29, 30})},
        {FilterKind::BatterAtBats, 200, {4}, atBats200},
        {FilterKind::BatterGames, 60, {2, 4}, games60},
        {FilterKind::PitcherInnings, 40, {}, sampleWithout({16, 20, 21, 22})},
        {FilterKind::PitcherGames, 15, {}, sampleWithout({14, 21, 22})},
    };
    const std::size_t remaining[] = {26, 24, 25, 27, 28};
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        const Outcome run = filter(sampleTeamLines(), cases[c].kind, cases[c].threshold);
        EXPECT_EQ(run.asked, cases[c].asked) << "case " << c;
        EXPECT_EQ(run.result, cases[c].expected) << "case " << c;
        EXPECT_EQ(run.result.size(), remaining[c]) << "case " << c;
    }
}

TEST(RosterFilter, CancelKeepsEveryStarterAsHeWas) {
    const Outcome games = filter(sampleTeamLines(), FilterKind::BatterGames, 60, false);
    EXPECT_EQ(games.asked, (std::vector<std::size_t>{2, 4}));
    EXPECT_EQ(games.result, sampleWithout({24, 26, 27, 28, 29, 30}));

    // Every starter below the threshold: nine questions, nine lines kept.
    const Outcome all = filter(sampleTeamLines(), FilterKind::BatterAtBats, 1000, false);
    EXPECT_EQ(all.asked, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(all.result, sampleWithout({24, 25, 26, 27, 28, 29, 30}));
}

TEST(RosterFilter, ThresholdOneDropsOnlyZeroes) {
    Lines team = sampleTeamLines();
    team[13] = withColumns(team[13], field::kAtBats.range(), "  0");  // a pitcher
    team[26] = withColumns(team[26], field::kAtBats.range(), "  0");  // a bench batter
    team[30] = withColumns(team[30], field::kGames.range(), "  0");
    const std::pair<FilterKind, std::size_t> cases[] = {{FilterKind::BatterAtBats, 26},
                                                        {FilterKind::BatterGames, 30},
                                                        {FilterKind::PitcherInnings, 13},
                                                        {FilterKind::PitcherGames, 99}};
    for (const auto& [kind, gone] : cases) {
        Lines expected = team;
        if (gone < expected.size()) expected.erase(expected.begin() + static_cast<long>(gone));
        const Outcome run = filter(team, kind, 1);
        EXPECT_EQ(run.result, expected) << static_cast<int>(kind);
        EXPECT_TRUE(run.asked.empty());
    }
}

TEST(RosterFilter, NoKindMeansNothingToDo) {
    bool asked = false;
    const auto result = runRosterFilter(sampleTeamLines(), filterKindAt(-1), 1000,
                                        [&](std::size_t) { return asked = true; });
    EXPECT_FALSE(result);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(filterKindAt(4));
    EXPECT_EQ(filterKindAt(0), FilterKind::BatterAtBats);
    EXPECT_EQ(filterKindAt(3), FilterKind::PitcherGames);
}

TEST(RosterFilter, ShortLinesStayAndNeverChangeTheSection) {
    const Lines& sample = sampleTeamLines();
    // A short "*P" among the bench batters does not stop them being filtered.
    Lines team(sample.begin(), sample.begin() + 25);
    team.insert(team.begin() + 24, {"", "*P", "00    01"});
    team.push_back(sample[30]);
    Lines expected(team.begin(), team.begin() + 27);
    const Outcome run = filter(team, FilterKind::BatterAtBats, 100);
    EXPECT_EQ(run.result, expected);
}

TEST(RosterFilter, ShortFirstLineLeavesTheLineUpAloneUntilTheBench) {
    Lines team = sampleTeamLines();
    team[0] = "*A W2000 Oakland";
    const Outcome run = filter(team, FilterKind::BatterAtBats, 200);
    EXPECT_TRUE(run.asked.empty());
    Lines expected(team.begin(), team.begin() + 24);
    EXPECT_EQ(run.result, expected);
}

TEST(RosterFilter, SectionLinesSwitchFilteringOnAndOff) {
    const Lines& s = sampleTeamLines();
    const std::string lowBatter = s[24];                         // 33 at bats
    const std::string lowPitcher = s[21];                        // 21 innings
    const std::string notASection = "*bench" + s[23].substr(6);  // case matters
    const Lines lineUp(s.begin(), s.begin() + 10);
    auto team = [&](const Lines& tail) {
        Lines all = lineUp;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    const Lines input = team({s[10], lowBatter, lowPitcher, s[23], lowBatter, notASection,
                              lowBatter, s[10], lowPitcher});
    EXPECT_EQ(filter(input, FilterKind::BatterAtBats, 100).result,
              team({s[10], lowBatter, lowPitcher, s[23], notASection, s[10], lowPitcher}));
    const Outcome pitchers = filter(input, FilterKind::PitcherInnings, 100);
    EXPECT_EQ(pitchers.result, team({s[10], s[23], lowBatter, notASection, lowBatter, s[10]}));
    EXPECT_TRUE(pitchers.asked.empty());
}

TEST(RosterFilter, OnlyTheFirstTenLinesAreStarters) {
    const Lines& s = sampleTeamLines();
    Lines team{s[0]};
    for (int i = 0; i < 11; ++i) team.push_back(s[24]);  // 33 at bats each
    const Outcome run = filter(team, FilterKind::BatterAtBats, 100, true);
    EXPECT_EQ(run.asked, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    Lines expected{s[0]};
    expected.insert(expected.end(), 9, "00    01");
    EXPECT_EQ(run.result, expected);
}

TEST(RosterFilter, ValuesAreTheNonBlankCharactersAsAWholeNumber) {
    const std::string bench = sampleTeamLines()[30];
    struct Case {
        std::string field;
        int lowestKeeping;  // the value read: this threshold keeps the line, one more drops it
    };
    const Case cases[] = {{"1 3", 13}, {"  9", 9}, {"100", 100}, {" -5", -5},
                          {"+99", 99}, {"+ 1", 1}, {"-0 ", 0}};
    for (const auto& c : cases) {
        const Lines team = {sampleTeamLines()[23],
                            withColumns(bench, field::kAtBats.range(), c.field)};
        // The batter is a starter here, so the one who goes leaves the placeholder.
        EXPECT_EQ(filter(team, FilterKind::BatterAtBats, c.lowestKeeping).result[1], team[1])
            << "'" << c.field << "'";
        EXPECT_EQ(filter(team, FilterKind::BatterAtBats, c.lowestKeeping + 1).result[1], "00    01")
            << "'" << c.field << "'";
    }
}

TEST(RosterFilter, BadValuesAndShortLinesStopTheRun) {
    const Lines& s = sampleTeamLines();
    const std::string bench = s[30];
    struct Case {
        Lines team;
        FilterKind kind;
        std::string error;
    };
    const Case cases[] = {
        {{s[0], s[10], withColumns(s[11], field::kAtBats.range(), "   ")},
         FilterKind::PitcherInnings,
         "'' is not a valid integer value"},
        {{s[0], withColumns(bench, field::kAtBats.range(), "\t12")},
         FilterKind::BatterAtBats,
         "'\t12' is not a valid integer value"},
        {{s[0], withColumns(bench, field::kAtBats.range(), " 1x")},
         FilterKind::BatterAtBats,
         "'1x' is not a valid integer value"},
        {{s[0], withColumns(bench, field::kAtBats.range(), "  -")},
         FilterKind::BatterAtBats,
         "'-' is not a valid integer value"},
        {{s[0], withColumns(bench, field::kAtBats.range(), " \xE9 ")},
         FilterKind::BatterAtBats,
         "'\xC3\xA9' is not a valid integer value"},
        // A NUL is shown as a visible mark, and the text goes on after it.
        {{s[0], withColumns(bench, field::kAtBats.range(),
                            std::string("1\0"
                                        "2",
                                        3))},
         FilterKind::BatterAtBats,
         "'1\xE2\x90\x80"
         "2' is not a valid integer value"},
        {{s[0], bench.substr(0, 29)}, FilterKind::BatterAtBats, "Range check error"},
        {{s[0], bench.substr(0, 73)}, FilterKind::BatterGames, "Range check error"},
        // Even where nothing is filtered, the examined columns must be there.
        {{s[0], s[10], bench.substr(0, 27)}, FilterKind::BatterAtBats, "Range check error"},
    };
    for (const auto& c : cases) {
        try {
            runRosterFilter(c.team, c.kind, 100, [](std::size_t) { return true; });
            ADD_FAILURE() << "no error for " << c.error;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
    // Seventy-four characters reach the games column.
    EXPECT_EQ(filter({s[0], bench.substr(0, 74)}, FilterKind::BatterGames, 1).result.size(), 2u);
}

// Found by fuzzing: a NUL in the field ended the error's text after its first apostrophe.
TEST(RosterFilter, NulBytesInAValueKeepTheWholeErrorText) {
    const std::string line =
        withColumns(sampleTeamLines()[30], field::kAtBats.range(), std::string("\0 \0", 3));
    try {
        runRosterFilter({sampleTeamLines()[0], line}, FilterKind::BatterAtBats, 100,
                        [](std::size_t) { return true; });
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'\u2400\u2400' is not a valid integer value");
    }
}

}  // namespace
}  // namespace rostrix
