// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/TeamRunReport.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

TEST(TeamRunReport, QuotesOnlyWhatThisRunAppendedToTheLog) {
    struct Case {
        const char* what;
        std::string before;    // the log before the run
        std::string appended;  // what the run added
        std::string expect;
    };
    const std::string old = "an earlier run's complaint\n";
    const std::string longLine(400, 'x');
    const Case cases[] = {
        {"nothing said", old, "", ""},
        {"two lines", old, "no team XYZ in 2001\nthe clubs are GRN GRR\n",
         "no team XYZ in 2001\nthe clubs are GRN GRR"},
        {"the last three of five, blank lines skipped", "",
         "one\ntwo\n\nthree\r\nfour  \n\n\nfive\n", "three\nfour\nfive"},
        {"no line end after the last line", old, "died at line 9", "died at line 9"},
        {"a long text keeps its end", "", "first\n" + longLine + "\nlast\n",
         "..." + std::string(300 - 3 - 5, 'x') + "\nlast"},
    };
    for (const Case& c : cases) {
        test::TempFolder dir;
        dir.write("errlog.txt", c.before);
        const long long before = fileSizeOrZero(dir.file("errlog.txt"));
        dir.write("errlog.txt", c.before + c.appended);
        EXPECT_EQ(appendedLogTail(dir.file("errlog.txt"), before), c.expect) << c.what;
    }
    // A log replaced by a shorter one during the run is all this run's.
    test::TempFolder dir;
    dir.write("errlog.txt", "fresh\n");
    EXPECT_EQ(appendedLogTail(dir.file("errlog.txt"), 100), "fresh");
    EXPECT_EQ(appendedLogTail("/nonexistent/errlog.txt", 0), "");
}

TEST(TeamRunReport, TheScriptsWordsFollowTheFirstSentence) {
    const std::string problem =
        "The team file /h/a.dat was not written: the script ended with exit status 1.\n"
        "The script's messages are in /h/errlog.txt.";
    EXPECT_EQ(withScriptWords(problem, "no team XYZ\nthe clubs are A B"),
              "The team file /h/a.dat was not written: the script ended with exit status 1.\n"
              "The script said:\nno team XYZ\nthe clubs are A B\n"
              "The script's messages are in /h/errlog.txt.");
    EXPECT_EQ(withScriptWords(problem, ""), problem);
    EXPECT_EQ(replaceTeamFileQuestion("01ALthe", "/home/q"),
              "01ALthe.dat already exists in /home/q. Replace it?");
    EXPECT_EQ(writtenWithProblemsMessage("/h/a.dat", 3),
              "The team file /h/a.dat was written but has 3 problems; Edit Team, then Check "
              "Team File (F7), shows them.");
    EXPECT_EQ(writtenWithProblemsMessage("/h/a.dat", 1),
              "The team file /h/a.dat was written but has 1 problem; Edit Team, then Check "
              "Team File (F7), shows them.");
}

TEST(TeamRunReport, TheFormIsCheckedBeforeAnythingRuns) {
    const std::string team = "Enter the club's code in Team, for example CIN.";
    const std::string file = "Enter a name for the team file in File, for example 01ALcin";
    const std::string folder = "Enter only a name in File, without a folder: \"";
    const struct {
        std::string team, fileName, start;  // of the message; "" when the form is fit to run
    } cases[] = {{"cin", "01ALcin", ""},
                 {"  ", "01ALcin", team},
                 {"cin", "", file},
                 {"", "", team + "\n" + file},
                 {"cin", "tmp/x", folder + "tmp/x\" holds a / or \\."},
                 {"cin", "a\\b", folder + "a\\b\" holds a / or \\."}};
    for (const auto& c : cases) {
        const std::string said = teamFormProblems(c.team, c.fileName);
        EXPECT_EQ(said.substr(0, c.start.size()) + (said.empty() ? "" : "|"),
                  c.start + (c.start.empty() ? "" : "|"));
    }
    // The summary is the builder's own "wrote" line of this run for this file.
    test::TempFolder dir;
    dir.write("errlog.txt", "kalbrix8.pl: wrote comets.dat: an earlier run\n");
    const long long before = fileSizeOrZero(dir.file("errlog.txt"));
    EXPECT_EQ(teamRunSummary(dir.file("errlog.txt"), before, "comets"), "Wrote comets.dat.");
    dir.write("errlog.txt", dir.read("errlog.txt") + "kalbrix8.pl: wrote comets.dat: Comets\n");
    EXPECT_EQ(teamRunSummary(dir.file("errlog.txt"), before, "comets"), "wrote comets.dat: Comets");
}

}  // namespace
}  // namespace rostrix
