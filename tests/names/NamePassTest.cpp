// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "names/NamePass.h"
#include "names/PassReport.h"
#include "platform/LineFile.h"
#include "support/core/ErrorOf.h"
#include "support/core/TempFolder.h"
#include "format/TeamLayout.h"

namespace rostrix {
namespace {

const std::string kTitle =
    "*A       W2000 Oakland      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P";
const std::string kPitchers =
    "*Pitchers                  Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St";

// A batter line holding the name in columns 10 to 27.
std::string batter(const std::string& name) {
    return "00    08 " + (name + std::string(18, ' ')).substr(0, 18) +
           "258  70  18   1   9  29  32  37 L   5  2  0  63 062-8";
}
std::string pitcher(const std::string& name) {
    return "00    01 " + (name + std::string(18, ' ')).substr(0, 18) +
           "101 104  28   2  12  52  68 437 R   8  5  0  16  16";
}
std::string nameOf(const std::string& line) {
    return line.substr(9, 18);
}
std::string passed(const std::string& line, DuplicateOption option = DuplicateOption::None) {
    return NamePass(option).run({line}).at(0);
}

TEST(NamePass, ExchangesTheInitialsOfEachName) {
    using O = DuplicateOption;
    const struct {
        const char* name;
        O option;
        const char* expected;
    } cases[] = {
        {"Halloran, Mickey", O::None, "Malloran, Hickey"},
        {"Halloran, Mickey", O::AutoEncrypt, "Malloran, Hickey"},
        {"Mantle, mickey", O::None, "mantle, Mickey"},  // case matters: not a duplicate
        {"Doe,John", O::None, "Joe,Dohn"},              // no blank after the comma
        {"Doe,  John", O::None, " oe, DJohn"},          // only one blank is skipped
        {"Zeta, Zack", O::None, "Zeta, Zack"},
        {"Zeta, Zack", O::AutoEncrypt, "[eta, [ack"},
        {"Zeta, Zack", O::AutoFix, "Yeta, Yack"},
        {"Able, Al", O::AutoFix, "@ble, @l"},
        {"Vandermolen, Chris", O::None, "Candermolen, Vhris"},
    };
    for (const auto& c : cases) {
        const std::string out = passed(batter(c.name), c.option);
        EXPECT_EQ(nameOf(out), nameOf(batter(c.expected))) << c.name;
        EXPECT_EQ(out.substr(27), batter(c.name).substr(27)) << c.name;
    }
}

// What Go! and Fix Selected say: how many names changed, and which way when the option
// or the names tell.
TEST(PassReport, SaysHowManyNamesChangedAndWhichWay) {
    using O = DuplicateOption;
    const std::vector<std::string> team = sampleTeamLines();
    const std::vector<std::string> encoded = NamePass().run(team);
    const std::vector<std::string> oneName = {kTitle, batter("Halloran, Mickey")};
    const std::vector<std::string> twins = {kTitle, batter("Moore, Mike"),
                                            batter("Kowalczyk, Stan")};
    const struct {
        std::vector<std::string> before;
        O option;
        const char* report;
    } cases[] = {
        {team, O::None, "Encoded 28 names in a.dat."},
        {encoded, O::None, "Decoded 28 names in a.dat."},
        {encoded, O::Prompt, "Decoded 28 names in a.dat."},
        // One name reads as a name both ways: only the option can tell.
        {oneName, O::None, "Exchanged the initials of 1 name in a.dat."},
        {oneName, O::AutoFix, "Decoded 1 name in a.dat."},
        {twins, O::None,
         "Encoded 1 name in a.dat. 1 name with two equal initials stayed as it was."},
        {twins, O::AutoEncrypt, "Encoded 2 names in a.dat."},
        {{kTitle}, O::None, "Found no player names in a.dat."},
    };
    std::vector<PassCount> counts;
    for (const auto& c : cases) {
        const std::vector<std::string> after = NamePass(c.option, [](const DuplicateName& d) {
                                                   return std::optional<char>(d.initial);
                                               }).run(c.before);
        counts.push_back(countPass(c.before, after, c.option));
        EXPECT_EQ(passReport(counts.back(), "a.dat"), c.report);
    }
    EXPECT_EQ(fixSelectedReport({counts[1], counts[2]}), "Decoded 56 names in 2 files.");
    EXPECT_EQ(fixSelectedReport({counts[0], counts[1]}), "Changed 56 names in 2 files.");
    EXPECT_EQ(fixSelectedReport({counts[4]}), "Decoded 1 name in 1 file.");
}

TEST(NamePass, OnlyPlayerLinesChange) {
    const std::string shortLine = batter("Halloran, Mickey").substr(0, 74);
    const std::string pitcherLine = pitcher("Marchetti, Sal");
    const std::vector<std::string> lines{kTitle, kPitchers, shortLine, "", "00    01", pitcherLine};
    const auto out = NamePass().run(lines);
    EXPECT_EQ(std::vector(out.begin(), out.end() - 1), std::vector(lines.begin(), lines.end() - 1));
    EXPECT_EQ(nameOf(out.back()), nameOf(pitcher("Sarchetti, Mal")));
}

TEST(NamePass, AbandonsANameItCannotSplitAndNamesTheLine) {
    const std::string noComma = batter("Halloran Mickey");
    const std::string lineBreak = batter(
        "\x0b"
        "oe, \x0b"
        "ohn");
    const struct {
        std::vector<std::string> lines;
        DuplicateOption option;
        std::size_t line;
        std::string text;
    } cases[] = {
        {{kTitle, batter("Ok, Fine"), noComma},
         DuplicateOption::None,
         3,
         "the player name on line 3 has no comma after the surname"},
        {{batter("Ok, Fine"), batter("Halloran Mickey") + ","},
         DuplicateOption::None,
         2,
         "nothing follows the comma of the player name on line 2"},
        {{lineBreak},
         DuplicateOption::AutoFix,
         1,
         "the corrected initial on line 1 would be a line break"},
        {{batter("Zeta, Zack")},
         DuplicateOption::Prompt,
         1,
         "no replacement character was given for the duplicate name on line 1"},
    };
    for (const auto& c : cases) {
        const NamePass pass(c.option, [](const DuplicateName&) { return std::nullopt; });
        try {
            pass.run(c.lines);
            ADD_FAILURE() << "no failure for " << c.text;
        } catch (const NamePassAbandoned& e) {
            EXPECT_EQ(e.lineNumber(), c.line);
            EXPECT_EQ(e.reason(), c.text);
        }
    }
}

// Found by fuzzing: " Adams,Al" became "AAdams, l", which the next pass read as the
// name "AAdams," with the initial "l"; the two passes no longer gave the name back.
TEST(NamePass, NeverPutsABlankRightAfterTheComma) {
    const struct {
        const char* name;
        DuplicateOption option;
    } refused[] = {{" Adams,Al", DuplicateOption::None}, {"!dams,!l", DuplicateOption::AutoFix}};
    for (const auto& c : refused) {
        try {
            NamePass(c.option).run({batter(c.name)});
            ADD_FAILURE() << "no failure for " << c.name;
        } catch (const NamePassAbandoned& e) {
            EXPECT_EQ(e.reason(),
                      "the player name on line 1 would get a blank right after its comma");
        }
    }
    // With a blank after the comma the leading blank simply changes places.
    const std::string spaced = batter(" Adams, Al");
    EXPECT_EQ(nameOf(passed(spaced)), "AAdams,  l        ");
    EXPECT_EQ(passed(passed(spaced)), spaced);
}

class NameFile : public ::testing::Test {
protected:
    std::string run(const std::string& name, DuplicateOption option) {
        const std::string path = dir.file(name);
        return joinLinesCrlf(passAndSave(NamePass(option), path, readTeamFileLines(path)));
    }
    test::TempFolder dir;
};

TEST_F(NameFile, TwoPassesRestoreTheFileWithCrLfLineEnds) {
    const std::string plain = kTitle + "\n" + batter("Halloran, Mickey") + "\r\n" +
                              batter("Zeta, Zack") + "\n" + kPitchers + "\r\n" +
                              pitcher("Marchetti, Sal");
    const std::string crlf = joinLinesCrlf(splitLines(plain));
    dir.write("t.dat", plain);
    const std::string once = run("t.dat", DuplicateOption::None);
    EXPECT_EQ(dir.read("t.dat"), once);
    EXPECT_NE(once, crlf);
    EXPECT_EQ(run("t.dat", DuplicateOption::None), crlf);
    EXPECT_EQ(dir.read("t.dat"), crlf);
}

TEST_F(NameFile, AutoEncryptIsUndoneByAutoFixOnly) {
    const std::string plain =
        joinLinesCrlf({kTitle, batter("Zeta, Zack"), batter("Halloran, Mickey"),
                       batter("\xff"
                              "oo, \xff"
                              "ee"),
                       batter("Aaron, Al")});
    dir.write("t.dat", plain);
    run("t.dat", DuplicateOption::AutoEncrypt);
    EXPECT_EQ(run("t.dat", DuplicateOption::AutoFix), plain);
    run("t.dat", DuplicateOption::AutoEncrypt);
    EXPECT_EQ(run("t.dat", DuplicateOption::None),
              joinLinesCrlf({kTitle, batter("[eta, [ack"), batter("Halloran, Mickey"),
                             batter(std::string("\0oo, \0ee", 8)), batter("Baron, Bl")}));
}

TEST_F(NameFile, NothingIsWrittenWhenThePassOrTheWriteFails) {
    const std::string bytes = joinLinesCrlf({batter("Halloran, Mickey"), batter("Halloran")});
    dir.write("t.dat", bytes);
    EXPECT_EQ(test::errorOf([&] { run("t.dat", DuplicateOption::None); }),
              "Cannot encode the names of " + dir.file("t.dat") +
                  ": the player name on line 2 has no comma after the surname. The file was "
                  "not changed");
    EXPECT_EQ(dir.read("t.dat"), bytes);
    const std::string missing = dir.file("gone/t.dat");
    EXPECT_EQ(test::errorOf([&] { passAndSave(NamePass(), missing, {batter("A, B")}); }),
              "Cannot create file " + missing + ": No such file or directory");
    EXPECT_EQ(test::errorOf([&] { readTeamFileLines(missing); }),
              "Cannot open file " + missing + ": No such file or directory");
}

}  // namespace
}  // namespace rostrix
