// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/SeasonPlan.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

std::vector<std::string> filesOf(const std::vector<SeasonClub>& clubs) {
    std::vector<std::string> files;
    for (const SeasonClub& c : clubs) files.push_back(c.file);
    return files;
}

TEST(SeasonPlan, OneQuestionDecidesWhatHappensToTheFilesAlreadyThere) {
    const auto clubs = parseSeasonClubs(
        "club 01ALnya.dat NYA AL New York Yankees\n"
        "noise line\n"
        "club 01ALsea.dat SEA AL Seattle Mariners\r\n"
        "club 01NLnyn.dat NYN NL New York Mets\n");
    ASSERT_EQ(filesOf(clubs),
              (std::vector<std::string>{"01ALnya.dat", "01ALsea.dat", "01NLnyn.dat"}));
    EXPECT_EQ(clubs[2].name, "New York Mets");
    EXPECT_EQ(seasonQuestion(2001, clubs, "/h"),
              "2001: 3 clubs in AL and NL. Build them into /h as 01ALnya.dat to 01NLnyn.dat?");

    struct Case {
        std::vector<std::string> there;
        ExistingFiles choice;
        std::vector<std::string> built;
    };
    const std::vector<std::string> all = filesOf(clubs);
    const Case cases[] = {
        {{}, ExistingFiles::Replace, all},  // none there: no question, every club
        {{"01ALsea.dat"}, ExistingFiles::Replace, all},
        {{"01ALsea.dat"}, ExistingFiles::Keep, {"01ALnya.dat", "01NLnyn.dat"}},
        {{"01ALsea.dat", "01NLnyn.dat"}, ExistingFiles::Keep, {"01ALnya.dat"}},
        {{"01ALsea.dat"}, ExistingFiles::Cancel, {}},
    };
    for (const Case& c : cases) {
        test::TempFolder home;
        home.write("01ALnya.txt", "not a team file of the season\r\n");
        for (const std::string& f : c.there) home.write(f, "old\r\n");
        const auto existing = existingSeasonFiles(home.path(), clubs);
        EXPECT_EQ(existing, std::set<std::string>(c.there.begin(), c.there.end()));
        EXPECT_EQ(filesOf(clubsToBuild(clubs, existing, c.choice)), c.built);
    }
    EXPECT_EQ(existingFilesQuestion({"01ALsea.dat", "01NLnyn.dat"}, 3),
              "2 of the 3 team files are already there (01ALsea.dat, 01NLnyn.dat).\n"
              "Yes replaces them, No keeps them and builds the other 1, Cancel builds nothing.");
    EXPECT_EQ(seasonArguments(2001, "", "", false, {clubs[0], clubs[2]}),
              (std::vector<std::string>{"--season", "2001", "ALL", "--only", "NYA,NYN"}));
    EXPECT_EQ(seasonArguments(1950, "NL", "0", true),
              (std::vector<std::string>{"--season", "1950", "NL", "0", "--list"}));
}

}  // namespace
}  // namespace rostrix
