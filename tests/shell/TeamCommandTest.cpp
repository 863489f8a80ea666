// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <filesystem>

#include "shell/TeamCommand.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

TEST(TeamCommand, ComposesTheThirteenPieces) {
    struct Case {
        TeamInputs in;
        std::string expected;
    };
    const Case cases[] = {
        {{"/sim/scripts", 1927, "nya", "AL", "27ALnya", "0"},
         "perl /sim/scripts/kalbrix8.pl 1927 NYA AL 27ALnya.dat 0 >> errlog.txt"},
        // Nothing entered: empty pieces keep their blanks.
        {{"/home/u", 2000, "", "", "", ""}, "perl /home/u/kalbrix8.pl 2000   .dat  >> errlog.txt"},
        // The root folder doubles the separator, which the shell accepts.
        {{"/", 1901, "bos", "NL", "01NLbos", "1"},
         "perl //kalbrix8.pl 1901 BOS NL 01NLbos.dat 1 >> errlog.txt"},
        // A generated name longer than eight characters is used whole.
        {{"/p", 1927, "yankees", "AL", "27ALyankees", "0"},
         "perl /p/kalbrix8.pl 1927 YANKEES AL 27ALyankees.dat 0 >> errlog.txt"},
        // Team case: upper in the command, accented letters too.
        {{"/p", 1950, "mtl\xc3\xa9", "", "x", "0"},
         "perl /p/kalbrix8.pl 1950 MTL\xc3\x89  x.dat 0 >> errlog.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(composeTeamCommand(c.in), c.expected);
}

TEST(TeamCommand, QuotesPiecesTheShellWouldInterpret) {
    const std::pair<std::string, std::string> pieces[] = {
        {"nya", "nya"},
        {"", ""},
        {"nya; touch pwned", "'nya; touch pwned'"},
        {"o'neil", "'o'\\''neil'"},
        {"$(rm -rf x)", "'$(rm -rf x)'"},
        {"a`b`", "'a`b`'"},
        {"a\tb", "'a\tb'"},
        {"x\ny", "'x\ny'"},
        {"*", "'*'"},
        {"~", "'~'"},
        {"a>b", "'a>b'"},
        {"{a,b}", "'{a,b}'"},
        {"my dir", "'my dir'"},
    };
    for (const auto& [in, out] : pieces) EXPECT_EQ(shellPiece(in), out) << in;

    TeamInputs in{"/my perl", 1927, "nya; touch pwned", "AL", "27 AL", "0"};
    EXPECT_EQ(composeTeamCommand(in),
              "perl '/my perl'/kalbrix8.pl 1927 'NYA; TOUCH PWNED' AL '27 AL.dat' 0 >> errlog.txt");
}

TEST(TeamCommand, AutomaticFileNameFollowsTheYearText) {
    // Digit by digit: one character keeps the name and appends, two rebuild it.
    EXPECT_EQ(autoFileName("", "1", "AL", "nya"), "ALnya");
    EXPECT_EQ(autoFileName("ALnya", "19", "AL", "nya"), "19ALnya");
    EXPECT_EQ(autoFileName("19ALnya", "1927", "AL", "nya"), "27ALnya");
    EXPECT_EQ(autoFileName("27ALnya", "1871", "", ""), "71");
    EXPECT_EQ(autoFileName("x", "-5", "NL", "b"), "-5NLb");
}

TEST(TeamCommand, RunsTheUsersScriptFirstThenTheBundledOne) {
    test::TempFolder perl, built, installed;
    const std::vector<std::string> bundled{built.path(), installed.path()};
    const auto script = [](const test::TempFolder& f) { f.write("kalbrix8.pl", "1;\n"); };
    // No script anywhere; a folder named like the script does not count.
    std::filesystem::create_directory(perl.file("kalbrix8.pl"));
    EXPECT_EQ(teamScriptFolder(perl.path(), bundled), std::nullopt);
    EXPECT_EQ(noTeamScriptMessage(perl.path(), bundled),
              "No team-building script was found. Looked for kalbrix8.pl in:\n" + perl.path() +
                  "\n" + built.path() + "\n" + installed.path());
    script(installed);
    EXPECT_EQ(teamScriptFolder(perl.path(), bundled), installed.path());
    script(built);
    EXPECT_EQ(teamScriptFolder(perl.path(), bundled), built.path());
    std::filesystem::remove(perl.file("kalbrix8.pl"));
    script(perl);
    EXPECT_EQ(teamScriptFolder(perl.path(), bundled), perl.path());

    // Beside the program in a build folder, under the data folder once installed.
    EXPECT_EQ(
        bundledTeamBuilderFolders("/opt/rx/bin"),
        (std::vector<std::string>{"/opt/rx/bin/teambuilder", "/opt/rx/share/rostrix/teambuilder"}));
}

// A stand-in "perl" that records its arguments, writes to both output streams and
// creates the team file named by its fifth argument.
class StubPerl : public ::testing::Test {
protected:
    void SetUp() override {
        bin_.write("perl",
                   "#!/bin/sh\n"
                   "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > args.txt\n"
                   "echo \"made $5\"\n"
                   "echo \"warning from the script\" >&2\n"
                   ": > \"$5\"\n");
        std::filesystem::permissions(bin_.file("perl"), std::filesystem::perms::owner_all);
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin_.path()) + ":" + savedPath_);
    }
    void TearDown() override { qputenv("PATH", savedPath_); }

    test::TempFolder bin_;
    test::TempFolder home_;
    QByteArray savedPath_;
};

TEST_F(StubPerl, RunsTheScriptInTheHomeFolderAndLogsBothStreams) {
    const std::string cmd = composeTeamCommand({"/sim/scripts", 1927, "nya", "AL", "27ALnya", "0"});
    const std::string log = home_.file("errlog.txt");
    home_.write("errlog.txt", "earlier run\n");
    ASSERT_TRUE(runTeamCommand(cmd, home_.path(), log, nullptr).started);
    EXPECT_EQ(home_.read("args.txt"),
              "[/sim/scripts/kalbrix8.pl]\n[1927]\n[NYA]\n[AL]\n[27ALnya.dat]\n[0]\n");
    EXPECT_EQ(home_.read("errlog.txt"), "earlier run\nmade 27ALnya.dat\nwarning from the script\n");
    EXPECT_TRUE(home_.exists("27ALnya.dat"));
}

TEST_F(StubPerl, HostileInputStaysOneArgumentAndRunsNothing) {
    const std::string cmd =
        composeTeamCommand({"/p", 1927, "nya; touch pwned", "AL", "$(touch pwned2)", "0"});
    ASSERT_TRUE(runTeamCommand(cmd, home_.path(), home_.file("errlog.txt"), nullptr).started);
    EXPECT_EQ(home_.read("args.txt"),
              "[/p/kalbrix8.pl]\n[1927]\n[NYA; TOUCH PWNED]\n[AL]\n[$(touch pwned2).dat]\n[0]\n");
    EXPECT_FALSE(home_.exists("pwned"));
    EXPECT_FALSE(home_.exists("PWNED"));
    EXPECT_FALSE(home_.exists("pwned2"));
    EXPECT_TRUE(home_.exists("$(touch pwned2).dat"));
}

}  // namespace
}  // namespace rostrix
