// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/core/TempFolder.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/TeamArchive.h"

namespace rostrix {
namespace {

namespace fs = std::filesystem;
const std::string kSection = "/home/u/teams/00OAK.dat";

TEST(TeamArchive, FilesTheSampleTeamExactlyAndAgainUnchanged) {
    test::TempFolder dir;
    const auto path = dir.file("archive.dat");
    writeTeamArchive(path, kSection, test::sampleTeam());
    EXPECT_EQ(dir.read("archive.dat"), test::dataFile("archive-golden.dat"));
    const auto before = test::agePast(path);
    writeTeamArchive(path, kSection, test::sampleTeam());
    EXPECT_EQ(dir.read("archive.dat"), test::dataFile("archive-golden.dat"));
    EXPECT_EQ(fs::last_write_time(path), before);
}

TEST(TeamArchive, ShorterTeamRewritesItsLinesAndLeavesTheRest) {
    test::TempFolder dir;
    const auto path = dir.file("archive.dat");
    const auto team = test::sampleTeam();
    writeTeamArchive(path, kSection, team);
    auto pruned = team;
    pruned.erase(pruned.begin() + 24, pruned.begin() + 29);  // five bench batters
    writeTeamArchive(path, kSection, pruned);
    std::string expect = "[" + kSection + "]\r\n";
    for (std::size_t i = 0; i < team.size(); ++i)
        expect += "Line " + std::to_string(i) + "=" + (i < 26 ? pruned[i] : team[i]) + "\r\n";
    EXPECT_EQ(dir.read("archive.dat"), expect);
}

TEST(TeamArchive, SectionIsTheWholePath) {
    test::TempFolder dir;
    const auto path = dir.file("archive.dat");
    writeTeamArchive(path, "/a/00OAK.dat", {"first"});
    writeTeamArchive(path, "/b/00OAK.dat", {"second"});
    writeTeamArchive(path, "Untitled.dat", {"one", "two"});
    writeTeamArchive(path, "Untitled.dat", {"three"});
    EXPECT_EQ(dir.read("archive.dat"),
              "[/a/00OAK.dat]\r\nLine 0=first\r\n[/b/00OAK.dat]\r\nLine 0=second\r\n"
              "[Untitled.dat]\r\nLine 0=three\r\nLine 1=two\r\n");
}

TEST(TeamArchive, EmptyTeamWritesNothing) {
    test::TempFolder dir;
    writeTeamArchive(dir.file("archive.dat"), kSection, {});
    EXPECT_FALSE(dir.exists("archive.dat"));
    writeTeamArchive(dir.file("missing/archive.dat"), kSection, {});
}

TEST(TeamArchive, UnwritableArchiveIsLeftWholeAndReported) {
    test::TempFolder dir;
    const auto check = [](const std::string& path, const std::string& why) {
        try {
            writeTeamArchive(path, kSection, test::sampleTeam());
            ADD_FAILURE() << path << " was written";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path + why);
        }
    };
    check(dir.file("missing/archive.dat"), ": No such file or directory");
    check(dir.path(), ": Is a directory");
    dir.write("archive.dat", "[Other]\r\nLine 0=x\r\n");
    fs::permissions(dir.file("archive.dat"), fs::perms::owner_read);
    check(dir.file("archive.dat"), ": Permission denied");
    EXPECT_EQ(dir.read("archive.dat"), "[Other]\r\nLine 0=x\r\n");
}

}  // namespace
}  // namespace rostrix
