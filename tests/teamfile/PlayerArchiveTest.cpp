// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/core/TempFolder.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/PlayerArchive.h"

namespace rostrix {
namespace {

namespace fs = std::filesystem;

// The status texts of a run, in order.
struct Statuses {
    std::vector<std::string> seen;
    ArchiveStatus sink() {
        return [this](const char* text) { seen.emplace_back(text); };
    }
};

std::vector<std::string> expectedStatuses(std::size_t lines, bool done = true) {
    std::vector<std::string> s{"Starting write..."};
    s.insert(s.end(), lines, "Writing data...");
    if (done) s.emplace_back("Done!");
    return s;
}

const std::string kTitles =
    "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P\r\n";

// A player line: position, 18-character name field and statistics from column 28.
std::string player(const std::string& position, const std::string& name, const std::string& stats) {
    std::string field = name;
    field.resize(18, ' ');
    return "00    " + position + " " + field + stats;
}

TEST(PlayerArchive, WritesEveryPlayerOfTheSampleExactlyAndAgainUnchanged) {
    test::TempFolder dir;
    const auto path = dir.file("player.dat");
    Statuses status;
    writeAllPlayers(path, test::sampleTeam(), status.sink());
    EXPECT_EQ(dir.read("player.dat"), test::dataFile("player-golden.dat"));
    EXPECT_EQ(status.seen, expectedStatuses(31));
    const auto before = test::agePast(path);
    writeAllPlayers(path, test::sampleTeam(), status.sink());
    EXPECT_EQ(dir.read("player.dat"), test::dataFile("player-golden.dat"));
    EXPECT_EQ(fs::last_write_time(path), before);
}

TEST(PlayerArchive, OnePlayerInTwoSeasonsGetsOneSection) {
    test::TempFolder dir;
    const auto path = dir.file("player.dat");
    auto team = test::sampleTeam();
    writeAllPlayers(path, team, [](const char*) {});
    team[0].replace(10, 4, "2001");
    writeAllPlayers(path, team, [](const char*) {});
    const std::string bytes = dir.read("player.dat");
    EXPECT_NE(bytes.find("[Halloran, Mickey]\r\n" + kTitles +
                         "2000 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 "
                         "062-8\r\n2001 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  "
                         "2  0  63 062-8\r\n[Brisco, Dale]\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '['), 28);
}

TEST(PlayerArchive, EqualNameFieldsShareASectionAndEachKeepsItsSeason) {
    test::TempFolder dir;
    const auto team = test::sampleTeam();
    const std::string first = player("08", "Smith, John", team[1].substr(27));
    const std::string second = player("04", "SMITH, JOHN", team[2].substr(27));
    writeAllPlayers(dir.file("player.dat"), {team[0], first, second}, [](const char*) {});
    EXPECT_EQ(dir.read("player.dat"), "[Smith, John]\r\n" + kTitles + "2000 Oakland     ==08 " +
                                          team[1].substr(27) + "\r\n2000 Oakland      #2==04 " +
                                          team[2].substr(27) + "\r\n");
}

TEST(PlayerArchive, OnlyPlayerLinesLongerThan75AreFiled) {
    test::TempFolder dir;
    const auto team = test::sampleTeam();
    const std::string pitcher = team[11];  // 78 characters
    const std::vector<std::string> lines = {
        team[0],
        team[10],                                           // "*Pitchers": "nn"
        "00    01",                                         // placeholder
        player("05", "Short, Line", std::string(48, '1')),  // 75 characters
        player("06", "Long, Line", std::string(49, '2')),   // 76 characters
        pitcher,
        team[23],                                                   // "*Bench": "AB"
        player("07", "Lower, Case", "1ab" + std::string(49, '3')),  // "ab" reads as "AB"
    };
    ASSERT_EQ(lines[3].size(), 75u);
    writeAllPlayers(dir.file("player.dat"), lines, [](const char*) {});
    EXPECT_EQ(dir.read("player.dat"), "[Long, Line]\r\n" + kTitles + "2000 Oakland     ==06 " +
                                          std::string(49, '2') + "\r\n[Marchetti, Sal]\r\n" +
                                          kTitles + "2000 Oakland     ==01 " + pitcher.substr(27) +
                                          "\r\n");
}

TEST(PlayerArchive, ShortFirstLineLeavesYearTeamAndTitlesEmpty) {
    test::TempFolder dir;
    const auto team = test::sampleTeam();
    writeAllPlayers(dir.file("player.dat"), {team[0].substr(0, 75), team[1]}, [](const char*) {});
    EXPECT_EQ(dir.read("player.dat"), "[Halloran, Mickey]\r\nYear Team        == P \r\n==08 " +
                                          team[1].substr(27) + "\r\n");
}

TEST(PlayerArchive, WriteCheckedFilesOnlyCheckedLinesWithTheFirstLinesTitles) {
    test::TempFolder dir;
    const auto team = test::sampleTeam();
    Statuses status;
    writeCheckedPlayers(dir.file("player.dat"), team, std::vector<bool>(team.size()),
                        status.sink());
    EXPECT_FALSE(dir.exists("player.dat"));
    EXPECT_EQ(status.seen, expectedStatuses(31));

    std::vector<bool> checked(team.size());
    checked[0] = checked[10] = checked[11] = checked[30] = true;  // title, "*Pitchers", two players
    writeCheckedPlayers(dir.file("player.dat"), team, checked, [](const char*) {});
    EXPECT_EQ(dir.read("player.dat"), "[Marchetti, Sal]\r\n" + kTitles + "2000 Oakland     ==01 " +
                                          team[11].substr(27) + "\r\n[Cutler, Amos]\r\n" + kTitles +
                                          "2000 Oakland     ==04 " + team[30].substr(27) + "\r\n");
}

TEST(PlayerArchive, UnwritableArchiveIsLeftWholeAndNotDone) {
    test::TempFolder dir;
    dir.write("player.dat", "[Other]\r\nk=v\r\n");
    fs::permissions(dir.file("player.dat"), fs::perms::owner_read);
    const std::pair<std::string, const char*> cases[] = {
        {dir.file("missing/player.dat"), ": No such file or directory"},
        {dir.file("player.dat"), ": Permission denied"}};
    for (const auto& [path, why] : cases) {
        Statuses status;
        try {
            writeAllPlayers(path, test::sampleTeam(), status.sink());
            ADD_FAILURE() << path << " was written";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path + why);
        }
        EXPECT_EQ(status.seen, expectedStatuses(31, false));
    }
    EXPECT_EQ(dir.read("player.dat"), "[Other]\r\nk=v\r\n");
}

}  // namespace
}  // namespace rostrix

#include "teamfile/TeamArchive.h"

namespace rostrix {
namespace {

// Archiving a team twice leaves both archives byte for byte as the first run left them,
// even when a name field or path begins or ends with a tab, vertical tab or form feed, or
// the season in the title line makes a key that begins with '[' or ';'.
TEST(Archives, OddNamesAndSeasonsAreFoundAgain) {
    const std::string stats = " 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8";
    struct Case {
        const char* name;
        std::string year;  // columns 11-14 of the title line
        std::string section;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"tab before a name", "2000", "/teams/a.dat", {"\tBrisco, Dale", "Tennant, Royce"}},
        {"blanks other than spaces after a name", "2000", "/teams/b.dat\t", {"Brisco, Dale\v\f\t"}},
        {"form feed before the path", "2000", "\f/teams/c.dat", {"\fHalloran, Mickey"}},
        {"a season beginning with '['", "[999", "/teams/d.dat", {"Brisco, Dale", "Tennant, Royce"}},
        {"a season beginning with ';'", ";999", "/teams/e.dat", {"Brisco, Dale"}},
    };
    for (const Case& c : cases) {
        test::TempFolder dir;
        std::vector<std::string> lines{"*A       W" + c.year +
                                       " Oakland      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS "
                                       "Gam Gam-P Gam-P Gam-P"};
        for (const std::string& name : c.names) lines.push_back(player("08", name, stats));
        Statuses statuses;
        writeTeamArchive(dir.file("archive.dat"), c.section, lines);
        writeAllPlayers(dir.file("player.dat"), lines, statuses.sink());
        const std::string archive = dir.read("archive.dat");
        const std::string players = dir.read("player.dat");
        writeTeamArchive(dir.file("archive.dat"), c.section, lines);
        writeAllPlayers(dir.file("player.dat"), lines, statuses.sink());
        EXPECT_EQ(dir.read("archive.dat"), archive) << c.name;
        EXPECT_EQ(dir.read("player.dat"), players) << c.name;
        // One copy of every entry: one title entry per player, one first line per team.
        std::size_t titles = 0;
        for (auto at = players.find(kTitles); at != std::string::npos;
             at = players.find(kTitles, at + 1))
            ++titles;
        EXPECT_EQ(titles, c.names.size()) << c.name;
        EXPECT_EQ(archive.find("Line 0=", archive.find("Line 0=") + 1), std::string::npos)
            << c.name;
    }
}

}  // namespace
}  // namespace rostrix
