// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cctype>

#include "format/PlayerArchiveKey.h"
#include "format/TeamLayout.h"
#include "platform/LineFile.h"

namespace rostrix {
namespace {

TEST(TeamLayout, SampleTeamIsTheCheckedInFileByteForByte) {
    const auto bytes = readFileBytes(ROSTRIX_TEST_DATA "/sample-team.dat");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(joinLinesCrlf(sampleTeamLines()), *bytes);
}

// Every field of the table against the example: each title stands right-aligned over its
// field on the title lines, the columns between fields are blank on every line, and each
// line of the example ends where its last field does.
TEST(TeamLayout, FieldsSitUnderTheExamplesColumnTitles) {
    const std::vector<std::string>& lines = sampleTeamLines();
    ASSERT_EQ(lines.size(), 31u);
    const struct {
        std::size_t titleLine;
        LineRole role;
    } kinds[] = {{0, LineRole::Batter}, {23, LineRole::Batter}, {10, LineRole::Pitcher}};
    for (const auto& kind : kinds) {
        const std::string& titles = lines[kind.titleLine];
        std::size_t titled = 0;
        for (const TeamField& f : fieldsOf(kind.role)) {
            if (f.title.empty()) continue;
            ++titled;
            const std::string want =
                std::string(f.width() - f.title.size(), ' ') + std::string(f.title);
            EXPECT_EQ(columns(titles, f), want) << kind.titleLine + 1 << ": " << f.name;
        }
        EXPECT_EQ(titled, kind.role == LineRole::Pitcher ? 14u : 16u);
    }
    EXPECT_EQ(columnsFrom(lines[0], field::kTitles.first), batterTitles());
    EXPECT_EQ(columnsFrom(lines[23], field::kTitles.first), batterTitles());
    EXPECT_EQ(columnsFrom(lines[10], field::kTitles.first), pitcherTitles());

    LineRoles roles;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineRole role = roles.next(lines[i]);
        const LineRole want = i == 0               ? LineRole::Title
                              : i == 10 || i == 23 ? LineRole::Section
                              : i > 10 && i < 23   ? LineRole::Pitcher
                                                   : LineRole::Batter;
        ASSERT_EQ(role, want) << "line " << i + 1;
        const auto fields = fieldsOf(role);
        std::size_t end = 0;
        for (std::size_t c = 1; c <= lines[i].size(); ++c) {
            const TeamField* f = fieldAt(role, lines[i].size(), c);
            if (f) end = std::max<std::size_t>(end, f->last);
            if (!f) {
                EXPECT_EQ(lines[i][c - 1], ' ') << "line " << i + 1 << ", column " << c;
            }
        }
        if (role != LineRole::Section) {
            EXPECT_EQ(end, lines[i].size()) << "line " << i + 1;
        }
        // Players' counts are digits right up to the field's last column.
        for (const TeamField& f : fields) {
            if (role != LineRole::Batter && role != LineRole::Pitcher) break;
            if (f.kind == FieldKind::Count) {
                EXPECT_TRUE(std::isdigit(lines[i][f.last - 1u])) << i + 1 << ": " << f.name;
            }
        }
    }
}

TEST(TeamLayout, ColumnsOfAShortLineGiveWhatItHas) {
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

TEST(TeamLayout, LinesByTheirPlaceAndTheirMark) {
    const struct {
        bool first;
        std::string line;
        Section above;
        LineRole role;
    } roles[] = {
        {true, "", Section::None, LineRole::Title},
        {false, "*Pitchers", Section::Bench, LineRole::Section},
        {false, "*Anything", Section::Pitchers, LineRole::Section},
        {false, "00    01", Section::Pitchers, LineRole::Pitcher},
        {false, "00    01", Section::None, LineRole::Batter},
        {false, "", Section::Bench, LineRole::Batter},
    };
    for (const auto& r : roles) EXPECT_EQ(lineRole(r.first, r.line, r.above), r.role) << r.line;
    EXPECT_EQ(sectionOpened("*Pitchers"), Section::Pitchers);
    EXPECT_EQ(sectionOpened("*B"), Section::Bench);
    EXPECT_EQ(sectionOpened("*b"), Section::None);

    // The names utility's rule reads the mark exactly; the player archive's its last two
    // columns in any case.
    const auto marked = [](const char* mark) {
        return std::string(27, 'x') + mark + std::string(50, ' ');
    };
    const struct {
        const char* mark;
        bool exact, anyCase;
    } marks[] = {{" AB", true, true},  {"Inn", true, true},   {"xab", false, true},
                 {"INN", false, true}, {"AB ", false, false}, {"258", false, false}};
    for (const auto& m : marks) {
        EXPECT_EQ(readsAsTitleLine(marked(m.mark)), m.exact) << m.mark;
        EXPECT_EQ(readsAsTitleLineInAnyCase(marked(m.mark)), m.anyCase) << m.mark;
    }
    EXPECT_FALSE(readsAsTitleLine("*A       W2000 Oakland    "));
}

TEST(TeamLayout, GroupsAndArchiveKeys) {
    EXPECT_EQ(readGroup("062-8")->games, 62);
    EXPECT_EQ(readGroup("011-D")->position, 'D');
    for (const char* bad : {"62-8", "062-E", "0628 ", "062_8", "062-8 ", "a62-8"})
        EXPECT_FALSE(readGroup(bad)) << bad;

    EXPECT_EQ(seasonTitleKey(), "Year Team        =");
    const struct {
        int nth;
        std::string key;
    } keys[] = {
        {1, "2001 Thistleville="}, {2, "2001 Thistleville #2="}, {12, "2001 Thistleville #12="}};
    for (const auto& k : keys) {
        EXPECT_EQ(seasonKey("2001", "Thistleville", k.nth), k.key);
        const auto read = readSeasonKey(k.key);
        ASSERT_TRUE(read) << k.key;
        EXPECT_EQ(read->year, 2001);
        EXPECT_EQ(read->team, "Thistleville");
        EXPECT_EQ(read->nth, k.nth);
    }
    // A team field's padding is not a second season; a key without a team is no season.
    EXPECT_EQ(readSeasonKey("2000 Oakland      ")->team, "Oakland");
    EXPECT_EQ(readSeasonKey("2000 Oak #2")->team, "Oak #2");
    for (const char* bad : {"2000 ", "200x Oakland", "2000Oakland", "Year Team"})
        EXPECT_FALSE(readSeasonKey(bad)) << bad;
    const std::string& batter = sampleTeamLines()[1];
    EXPECT_EQ(seasonValue(batter).substr(seasonValueIndex(field::kAtBats.first), 3), "258");
}

}  // namespace
}  // namespace rostrix
