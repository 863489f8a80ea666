// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cctype>

#include "platform/LineFile.h"
#include "teamfile/TeamFile.h"

namespace rostrix {
namespace {

TEST(TeamFile, SampleTeamIsTheCheckedInFileByteForByte) {
    const auto bytes = readFileBytes(ROSTRIX_TEST_DATA "/sample-team.dat");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(joinLinesCrlf(sampleTeamLines()), *bytes);
}

TEST(TeamFile, SampleLinesHaveTheirLengthsAndKinds) {
    using K = TeamLineKind;
    const std::vector<std::string>& lines = sampleTeamLines();
    ASSERT_EQ(lines.size(), 31u);
    const std::size_t lengths[31] = {92, 80, 80, 86, 92, 80, 80, 92, 86, 80, 78, 78, 78, 78, 78, 78,
                                     78, 78, 78, 78, 78, 78, 78, 92, 86, 92, 92, 92, 80, 80, 86};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), lengths[i]) << "line " << i + 1;
        const K expected = i == 0    ? K::TeamTitle
                           : i == 10 ? K::PitcherSection
                           : i == 23 ? K::BenchSection
                                     : K::Player;
        EXPECT_EQ(teamLineKind(lines[i]), expected) << "line " << i + 1;
        // The first statistic ends at column 30 even after a name that fills its field.
        if (expected == K::Player) {
            EXPECT_TRUE(std::isdigit(lines[i][29])) << "line " << i + 1;
        }
    }
    EXPECT_EQ(columns(lines[0], {11, 14}), "2000");
    EXPECT_EQ(columns(lines[0], {16, 27}), "Oakland     ");
    EXPECT_EQ(columns(lines[10], kAtBatsOrInningsColumns), "Inn");
    EXPECT_EQ(columns(lines[23], kGamesColumns), "Gam");
    EXPECT_EQ(columns(lines[1], kAtBatsOrInningsColumns), "258");
    EXPECT_EQ(columns(lines[14], kAtBatsOrInningsColumns), " 80");
}

TEST(TeamFile, ColumnsOfAShortLineGiveWhatItHas) {
    const std::string pitcher = sampleTeamLines()[11];  // 78 characters
    const std::pair<ColumnRange, std::string> cases[] = {
        {{28, 200}, pitcher.substr(27)},  // ends at column 78
        {{76, 80}, " 16"},
        {{78, 80}, "6"},
        {{79, 92}, ""},
        {{1, 2}, "00"},
    };
    for (const auto& [range, want] : cases)
        EXPECT_EQ(columns(pitcher, range), want) << range.first << "-" << range.last;
}

TEST(TeamFile, ShortLinesAreNotPlayers) {
    const std::pair<std::string, TeamLineKind> cases[] = {
        {"00    01", TeamLineKind::Placeholder},     {"", TeamLineKind::Other},
        {"00    01 ", TeamLineKind::Other},          {"*Pitchers", TeamLineKind::PitcherSection},
        {std::string(27, 'x'), TeamLineKind::Other}, {std::string(28, 'x'), TeamLineKind::Player},
    };
    for (const auto& [line, kind] : cases) EXPECT_EQ(teamLineKind(line), kind) << line;
}

}  // namespace
}  // namespace rostrix
