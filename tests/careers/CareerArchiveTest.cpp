// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "careers/CareerList.h"
#include "careers/CareerStats.h"
#include "format/TeamLayout.h"
#include "support/core/TempFolder.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/PlayerArchive.h"

namespace rostrix {
namespace {

const std::string kTitle =
    "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P\r\n";

// A batter with a season split between two teams, and a pitcher.
const std::string kSmallArchive =
    "[Able, Abe]\r\n" + kTitle +
    "2000 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n"
    "2001 Oakland     ==08 208  62  10   0   7  33  38  23 R   7  6  3  53 053-4\r\n"
    "2001 Fresno      ==08 100  30   5   2   3  10  20  15 R   1  0  1  30 030-8\r\n"
    "[Pitch, Pete]\r\n" +
    kTitle +
    "2000 Oakland     ==01 101 104  28   2  12  52  68 437 R   8  5  0  16  16\r\n"
    "2001 Oakland     ==01  39  35   5   0   2  16  34 279 R   4  2 19  36   0\r\n";

std::size_t careerNamed(const CareerArchive& archive, std::string_view name,
                        CareerRole role = CareerRole::Batter) {
    const auto& careers = archive.careers();
    for (std::size_t i = 0; i < careers.size(); ++i)
        if (careers[i].name == name && careers[i].role == role) return i;
    ADD_FAILURE() << "no career " << name;
    return 0;
}

std::string total(const CareerLine& line, const char* title) {
    return totalCellText(line, columnIndex(line.role, title));
}

TEST(CareerArchive, TotalsAndRatesComeFromSumsNotFromSeasonAverages) {
    test::TempFolder dir;
    dir.write("player.dat", kSmallArchive);
    const CareerArchive archive(dir.file("player.dat"));
    ASSERT_EQ(archive.careers().size(), 2u);

    const auto batter = archive.seasons(careerNamed(archive, "Able, Abe"));
    int leftOut = -1;
    const CareerLine b = careerTotals(batter, &leftOut);
    EXPECT_EQ(leftOut, 0);
    // AB 258+208+100 = 566, Hit 70+62+30 = 162, 2B 18+10+5 = 33, 3B 1+0+2 = 3,
    // HR 9+7+3 = 19, BB 29+33+10 = 72.
    EXPECT_EQ(total(b, "AB"), "566");
    EXPECT_EQ(total(b, "Hit"), "162");
    EXPECT_EQ(total(b, "RBI"), "75");
    EXPECT_EQ(total(b, "Gam"), "146");
    // AVG 162/566 = .2862 (the seasons' own averages would give .2898); OBP (162+72)/(566+72)
    // = 234/638 = .3668; SLG (162 + 33 + 2*3 + 3*19)/566 = 258/566 = .4558.
    EXPECT_EQ(total(b, "AVG"), ".286");
    EXPECT_EQ(total(b, "OBP"), ".367");
    EXPECT_EQ(total(b, "SLG"), ".456");
    EXPECT_EQ(total(b, "Year"), "Career");
    EXPECT_EQ(total(b, "B"), "");

    const auto pitcher = archive.seasons(careerNamed(archive, "Pitch, Pete", CareerRole::Pitcher));
    const CareerLine p = careerTotals(pitcher);
    // Earned runs 4.37*101/9 + 2.79*39/9 = 550.18/9; ERA 550.18/140 = 3.930 (the mean of the
    // two ERAs would be 3.58). WHIP (139 + 68)/140 = 1.4786.
    EXPECT_EQ(total(p, "Inn"), "140");
    EXPECT_EQ(total(p, "ERA"), "3.93");
    EXPECT_EQ(total(p, "WHIP"), "1.479");
    EXPECT_EQ(total(p, "S"), "19");
    EXPECT_EQ(total(p, "St"), "16");
    EXPECT_EQ(seasonCellText(pitcher[0], columnIndex(CareerRole::Pitcher, "ERA")), "4.37");

    // The chart's 2001 point sums both teams: Hit 62+30 = 92, AVG 92/308 = .2987.
    const auto hits =
        chartPoints(batter, CareerRole::Batter, columnIndex(CareerRole::Batter, "Hit"));
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].year, 2000);
    EXPECT_EQ(hits[0].value, 70);
    EXPECT_EQ(hits[1].year, 2001);
    EXPECT_EQ(hits[1].value, 92);
    const auto avg =
        chartPoints(batter, CareerRole::Batter, columnIndex(CareerRole::Batter, "AVG"));
    EXPECT_NEAR(avg[1].value, 92.0 / 308.0, 1e-12);

    // Leaders see the same totals.
    const CareerLeaders leaders(archive);
    const auto top = leaders.top(CareerRole::Pitcher, columnIndex(CareerRole::Pitcher, "ERA"), 100);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_NEAR(top[0].value, 550.18 / 140.0, 1e-9);
    EXPECT_TRUE(
        leaders.top(CareerRole::Pitcher, columnIndex(CareerRole::Pitcher, "ERA"), 141).empty());
}

// The team's text in a column range, without its padding: what the table must show.
std::string teamText(const std::string& line, const CareerColumn& c) {
    std::string s(columns(line, *c.field));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

TEST(CareerArchive, WriteAllOfTwoSeasonsReadsBackEveryColumnAsTheTeamFileHasIt) {
    test::TempFolder dir;
    const auto path = dir.file("player.dat");
    const auto first = test::sampleTeam();
    auto second = first;
    second[0].replace(10, 4, "2001");
    second[0].replace(15, 7, "Fresno ");
    writeAllPlayers(path, first, [](const char*) {});
    writeAllPlayers(path, second, [](const char*) {});

    const CareerArchive archive(path);
    EXPECT_EQ(archive.careers().size(), 28u);
    std::size_t players = 0;
    for (const std::vector<std::string>* team : {&first, &std::as_const(second)}) {
        LineRoles roles;
        for (const auto& line : *team) {
            const LineRole kind = roles.next(line);
            if (kind != LineRole::Batter && kind != LineRole::Pitcher) continue;
            const CareerRole role =
                kind == LineRole::Pitcher ? CareerRole::Pitcher : CareerRole::Batter;
            std::string name(columns(line, field::kName));
            while (name.back() == ' ') name.pop_back();
            const std::size_t career = careerNamed(archive, name, role);
            EXPECT_EQ(archive.careers()[career].seasons, 2u) << name;
            EXPECT_EQ(archive.careers()[career].firstYear, 2000) << name;
            EXPECT_EQ(archive.careers()[career].lastYear, 2001) << name;
            const auto seasons = archive.seasons(career);
            ASSERT_EQ(seasons.size(), 2u) << name;
            const SeasonEntry& entry = seasons[team == &first ? 0 : 1];
            EXPECT_FALSE(entry.damaged()) << name << ": " << entry.problemSummary();
            EXPECT_EQ(entry.year, team == &first ? 2000 : 2001);
            EXPECT_EQ(entry.team, team == &first ? "Oakland" : "Fresno");
            EXPECT_EQ(entry.cells[2], columns(line, field::kPosition));
            const auto& cols = careerColumns(role);
            for (std::size_t i = 0; i < cols.size(); ++i)
                if (cols[i].field) {
                    EXPECT_EQ(entry.cells[i], teamText(line, cols[i]))
                        << name << " " << cols[i].title;
                }
            ++players;
        }
    }
    EXPECT_EQ(players, 56u);
}

// A two-way player (the builder writes his batting and his pitching line) and two
// namesakes on one club each keep their season, read back as rows of their own.
TEST(CareerArchive, TwoWayPlayersAndNamesakesKeepEverySeason) {
    test::TempFolder dir;
    auto team = test::sampleTeam();
    const std::pair<int, std::string> extra[] = {
        {11, "Halloran, Mickey"}, {2, "Smith, John"}, {3, "SMITH, JOHN"}};
    for (const auto& [from, name] : extra)
        team.push_back(team[from].substr(0, 9) + (name + std::string(18, ' ')).substr(0, 18) +
                       team[from].substr(27));
    for (int run = 0; run < 2; ++run)  // filing the team again rewrites the same keys
        writeAllPlayers(dir.file("player.dat"), team, [](const char*) {});
    const CareerArchive archive(dir.file("player.dat"));
    const std::tuple<const char*, CareerRole, std::vector<std::string>> cases[] = {
        {"Halloran, Mickey", CareerRole::Batter, {"2000Oakland08"}},
        {"Halloran, Mickey", CareerRole::Pitcher, {"2000Oakland01"}},
        {"Smith, John", CareerRole::Batter, {"2000Oakland04", "2000Oakland03"}}};
    for (const auto& [name, role, positions] : cases) {
        std::vector<std::string> seen;
        for (const SeasonEntry& e : archive.seasons(careerNamed(archive, name, role)))
            seen.push_back(std::to_string(e.year) + e.team + e.cells[2] + e.problemSummary());
        EXPECT_EQ(seen, positions) << name;
    }
}

// The start of a picture file, with a '[' and '=' that make a section and an entry of it.
const char kNotText[] = "\x89PNG\r\n\x1a\n\0\0\0\r[\0\x01=\xff]\n=\n";

struct DamageCase {
    const char* what;
    std::string bytes;
    std::size_t careers;
    std::size_t seasons;  // of the first career
    const char* problem;  // expected in the damaged row's problems, "" for none
    const char* column;   // the column it is marked in
    int leftOut;
};

TEST(CareerArchive, DamagedArchivesShowWhatCanBeReadAndKeepItOutOfTotals) {
    const std::string sound =
        "2000 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n";
    const DamageCase cases[] = {
        {"value cut short", "[A, B]\r\n" + sound + "2001 Oakland     ==08 258  70  18\r\n", 1, 2,
         "3B: missing", "3B", 1},
        {"value ends inside a field", "[A, B]\r\n" + sound + "2001 Oakland     ==08 258  7\r\n", 1,
         2, "Hit: cut short", "Hit", 1},
        {"letters for digits",
         "[A, B]\r\n" + sound +
             "2001 Oakland     ==08 2x8  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n",
         1, 2, "AB: not a number", "AB", 1},
        {"shifted by a column",
         "[A, B]\r\n" + sound +
             "2001 Oakland     ==08 2580 70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n",
         1, 2, "Hit: not in its columns", "Hit", 1},
        {"key not year and team",
         "[A, B]\r\n" + sound +
             "Oakland          ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n",
         1, 2, "is not a year and a team", "Year", 1},
        {"bad group",
         "[A, B]\r\n" + sound +
             "2001 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 06x-8\r\n",
         1, 2, "Gam-P: not a games-at-position group", "Gam-P", 1},
        {"text after the last column",
         "[A, B]\r\n" + sound +
             "2001 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8 011-D "
             "001-3 x\r\n",
         1, 2, "text after the last column", "Gam-P", 1},
        {"section without entries", "[A, B]\r\n[C, D]\r\n" + sound, 2, 0, "", "", 0},
        {"last header ends in a lone CR", "[A, B]\r\n" + sound + "[C, D]\r", 2, 1, "", "", 0},
        {"only a title entry", "[A, B]\r\n" + kTitle, 1, 0, "", "", 0},
        {"repeated key and section: the first counts",
         "[A, B]\r\n" + sound + "2000 OAKLAND     ==08 999 999\r\n[a, b]\r\n" + sound, 1, 1, "", "",
         0},
        {"LF and CR line ends, comment, text before any section",
         "junk=1\n[A, B]\r; c\r" + std::string(sound.begin(), sound.end() - 2) + "\n", 1, 1, "", "",
         0},
        {"not text", std::string(kNotText, sizeof kNotText - 1), 1, 1, "is not a year and a team",
         "Year", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder dir;
        dir.write("player.dat", c.bytes);
        const CareerArchive archive(dir.file("player.dat"));
        ASSERT_EQ(archive.status(), CareerArchive::Status::Read);
        ASSERT_EQ(archive.careers().size(), c.careers);
        const auto seasons = archive.seasons(0);
        ASSERT_EQ(seasons.size(), c.seasons);
        EXPECT_EQ(archive.careers()[0].seasons, c.seasons);
        int leftOut = -1;
        const CareerLine totals = careerTotals(seasons, &leftOut);
        EXPECT_EQ(leftOut, c.leftOut);
        EXPECT_EQ(total(totals, "AB"), c.seasons > std::size_t(c.leftOut) ? "258" : "0");
        // Leaders leave out what totals leave out.
        EXPECT_EQ(CareerLeaders(archive).line(0).seasons, int(c.seasons) - c.leftOut);
        if (*c.problem == '\0') continue;
        const SeasonEntry& bad = seasons.back();
        const bool atEnd = std::string_view(c.what) == "text after the last column";
        const std::size_t at =
            atEnd ? careerColumns(bad.role).size() - 4 : columnIndex(bad.role, c.column);
        EXPECT_NE(bad.problems[at].find(c.problem), std::string::npos) << bad.problemSummary();
        // What could be read is still there.
        EXPECT_EQ(bad.cells[1].empty(), std::string_view(c.column) == "Year");
        EXPECT_EQ(bad.cells[3].empty(), std::string_view(c.what) == "not text");
    }
    // A NUL marks a file as no text.
    test::TempFolder dir;
    dir.write("player.dat", cases[std::size(cases) - 1].bytes);
    EXPECT_TRUE(CareerArchive(dir.file("player.dat")).holdsNonText());

    const CareerArchive missing(dir.file("none.dat"));
    EXPECT_EQ(missing.status(), CareerArchive::Status::Missing);
    EXPECT_TRUE(missing.careers().empty());
    const CareerArchive folder(dir.path());
    EXPECT_EQ(folder.status(), CareerArchive::Status::Unreadable);
}

// A pitcher's season: innings, hits, walks and ERA in their columns.
std::string pitching(int year, int innings, int hits, int walks, int era) {
    char value[96];
    std::snprintf(value, sizeof value,
                  "%4d Oakland     ==01 %3d %3d   5   0   2 %3d  34 %3d R   4  2 19  36   0\r\n",
                  year, innings, hits, walks, era);
    return value;
}

TEST(CareerLeaders, RankBestFirstWithTiesByNameAndRatesOnlyAboveTheMinimum) {
    test::TempFolder dir;
    // ERA: Ace 9*(2.00*90/9)/90 = 2.00; Bee (3.00*100 + 1.20*100)/200 = 2.10; Cid 1.50 over
    // only 30 innings. Walks: Ace 20 and Bee 10+10 tie, Cid 5. WHIP: Bee (180+20)/200 = 1.000.
    dir.write("player.dat", "[Cid, C]\r\n" + pitching(2000, 30, 20, 5, 150) + "[Bee, B]\r\n" +
                                pitching(2000, 100, 90, 10, 300) +
                                pitching(2001, 100, 90, 10, 120) + "[Ace, A]\r\n" +
                                pitching(2000, 90, 60, 20, 200) + kSmallArchive);
    const CareerArchive archive(dir.file("player.dat"));
    const CareerLeaders leaders(archive);
    const auto names = [&](const char* title, std::int64_t minimum, std::size_t count) {
        std::string s;
        for (const auto& row : leaders.top(CareerRole::Pitcher,
                                           columnIndex(CareerRole::Pitcher, title), minimum, count))
            s += std::string(archive.careers()[row.career].name) + "=" +
                 formatStat(
                     careerColumns(CareerRole::Pitcher)[columnIndex(CareerRole::Pitcher, title)],
                     row.value) +
                 ";";
        return s;
    };
    const struct {
        const char* title;
        std::int64_t minimum;
        std::size_t count;
        const char* expected;
    } cases[] = {
        {"ERA", 0, 25, "Cid, C=1.50;Ace, A=2.00;Bee, B=2.10;Pitch, Pete=3.93;"},
        {"ERA", 50, 25, "Ace, A=2.00;Bee, B=2.10;Pitch, Pete=3.93;"},
        {"ERA", 150, 25, "Bee, B=2.10;"},
        {"ERA", 0, 2, "Cid, C=1.50;Ace, A=2.00;"},
        {"BB", 100000, 25, "Pitch, Pete=68;Ace, A=20;Bee, B=20;Cid, C=5;"},
        {"WHIP", 100, 25, "Bee, B=1.000;Pitch, Pete=1.479;"},
        {"T", 0, 25, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names(c.title, c.minimum, c.count), c.expected) << c.title;
    // Batters are ranked among batters only.
    const auto hits = leaders.top(CareerRole::Batter, columnIndex(CareerRole::Batter, "Hit"), 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].value, 162);
}

TEST(CareerList, SortsByEachColumnAndSearchesNamesWithoutRegardToCase) {
    test::TempFolder dir;
    dir.write("player.dat",
              "[Zed, Al]\r\n1990 X           ==08 258  70\r\n1995 X           ==08 258  70\r\n"
              "[able, Bo]\r\n2001 X           ==01 258  70\r\n"
              "[\xC9"
              "CLAIR, Jo]\r\n1980 X           ==08 258  70\r\n2000 X           ==01 1\r\n");
    const CareerArchive archive(dir.file("player.dat"));
    CareerList list(archive.careers());
    const auto names = [&] {
        std::string s;
        for (const auto c : list.shown())
            s += std::string(archive.careers()[c].name) +
                 (archive.careers()[c].role == CareerRole::Pitcher ? "(P)" : "") + ";";
        return s;
    };
    const struct {
        CareerList::Column column;
        bool ascending;
        const char* search;
        const char* expected;
    } cases[] = {
        {CareerList::Name, true, "",
         "able, Bo(P);Zed, Al;\xC9"
         "CLAIR, Jo;\xC9"
         "CLAIR, Jo(P);"},
        {CareerList::Name, false, "",
         "\xC9"
         "CLAIR, Jo(P);\xC9"
         "CLAIR, Jo;Zed, Al;able, Bo(P);"},
        {CareerList::Seasons, false, "",
         "Zed, Al;\xC9"
         "CLAIR, Jo(P);\xC9"
         "CLAIR, Jo;able, Bo(P);"},
        {CareerList::FirstYear, true, "",
         "\xC9"
         "CLAIR, Jo;Zed, Al;\xC9"
         "CLAIR, Jo(P);able, Bo(P);"},
        {CareerList::LastYear, true, "",
         "\xC9"
         "CLAIR, Jo;Zed, Al;\xC9"
         "CLAIR, Jo(P);able, Bo(P);"},
        {CareerList::Name, true, "AB", "able, Bo(P);"},
        {CareerList::Name, true,
         "\xE9"
         "c",
         "\xC9"
         "CLAIR, Jo;\xC9"
         "CLAIR, Jo(P);"},
        {CareerList::Name, true, ", ",
         "able, Bo(P);Zed, Al;\xC9"
         "CLAIR, Jo;\xC9"
         "CLAIR, Jo(P);"},
        {CareerList::Name, true, ", j",
         "\xC9"
         "CLAIR, Jo;\xC9"
         "CLAIR, Jo(P);"},
        {CareerList::Name, true, "nobody", ""},
    };
    for (const auto& c : cases) {
        list.sort(c.column, c.ascending);
        list.search(c.search);
        EXPECT_EQ(names(), c.expected) << c.column << " " << c.search;
    }
}

}  // namespace
}  // namespace rostrix
