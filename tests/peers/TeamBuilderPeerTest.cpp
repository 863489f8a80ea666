// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <array>
#include <filesystem>
#include <map>
#include <set>

#include "platform/LineFile.h"
#include "support/core/TempFolder.h"
#include "teamfile/TeamFileCheck.h"

namespace rostrix {
namespace {

// The builder as the build copies it beside the programs, the way Rostrix finds it.
std::string builderFolder() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/teambuilder";
}
std::string script() {
    return builderFolder() + "/kalbrix8.pl";
}

struct Result {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs the builder the way the team command does: perl, the script, then the arguments,
// in the folder that receives the team file.
Result build(const std::string& folder, const QStringList& args,
             const std::string& scriptPath = script()) {
    QProcess perl;
    perl.setWorkingDirectory(QString::fromStdString(folder));
    perl.start(QStringLiteral("perl"), QStringList{QString::fromStdString(scriptPath)} + args);
    perl.waitForFinished(60000);
    return {perl.exitStatus() == QProcess::NormalExit ? perl.exitCode() : -1,
            perl.readAllStandardOutput().toStdString(), perl.readAllStandardError().toStdString()};
}

// A season of two clubs. Columns stand in other orders than in the sample database and
// the pitching file counts doubles and triples, as some editions of the database do.
// The traded player went from AAA to BBB and back; the pitcher batted; one name holds a
// comma and doubled quotes.
void writeSmallDatabase(const test::TempFolder& home) {
    std::filesystem::create_directory(home.file("db"));
    home.write("db/Teams.csv",
               "yearID,lgID,teamID,franchID,divID,W,L,name,park\n"
               "1999,AL,AAA,AAA,E,90,72,Alpha Anglers of Aston,\"Field, Aston\"\n"
               "1999,AL,BBB,BBB,W,72,90,Beta Bears,Beta Park\n");
    home.write("db/People.csv",
               "playerID,birthYear,nameFirst,nameLast,bats,throws\r\n"
               "cat01,1970,Carl,Catcher,R,R\r\nfir01,1970,Fred,First,L,L\r\n"
               "sec01,1970,Sam,Second,R,R\r\nthi01,1970,Ted,Third,R,R\r\n"
               "sho01,1970,Stu,Short,B,R\r\nlef01,1970,Lou,Left,L,L\r\n"
               "cen01,1970,Cy,Centre,R,R\r\nrig01,1970,Rob,Right,L,R\r\n"
               "dhx01,1970,Dan,Hitter,R,R\r\ntra01,1970,Tom,Traded,L,R\r\n"
               "com01,1970,\"Bo \"\"Big\"\"\",\"Smythe, Jr.\",R,R\r\n"
               "pit01,1970,Pete,Arm,R,R\r\nrel01,1970,Ray,Relief,L,L\r\n");
    home.write("db/Batting.csv",
               "playerID,yearID,stint,teamID,lgID,G,AB,R,H,2B,3B,HR,RBI,SB,CS,BB,SO\n"
               "cat01,1999,1,AAA,AL,100,350,40,90,15,1,10,45,1,1,30,60\n"
               "fir01,1999,1,AAA,AL,150,560,90,170,35,2,35,110,2,1,70,100\n"
               "sec01,1999,1,AAA,AL,140,520,70,150,25,5,5,50,20,8,60,70\n"
               "thi01,1999,1,AAA,AL,145,540,70,155,30,3,20,85,5,3,45,90\n"
               "sho01,1999,1,AAA,AL,150,600,80,170,20,6,4,45,40,10,50,80\n"
               "lef01,1999,1,AAA,AL,130,480,70,140,28,4,18,70,8,4,55,85\n"
               "cen01,1999,1,AAA,AL,155,620,100,190,30,10,12,65,45,12,75,90\n"
               "rig01,1999,1,AAA,AL,140,500,70,140,30,2,25,90,4,2,40,110\n"
               "dhx01,1999,1,AAA,AL,90,330,50,95,20,0,22,70,0,0,35,75\n"
               "tra01,1999,1,AAA,AL,40,150,20,45,9,1,5,20,3,1,12,25\n"
               "tra01,1999,2,BBB,AL,50,180,22,50,10,2,6,25,4,2,15,30\n"
               "tra01,1999,3,AAA,AL,10,30,4,9,1,0,1,4,0,0,2,6\n"
               "com01,1999,1,AAA,AL,25,60,7,15,3,0,1,6,1,0,5,12\n"
               "pit01,1999,1,AAA,AL,30,60,4,12,2,0,1,5,0,0,3,25\n"
               "rel01,1999,1,AAA,AL,60,0,0,0,0,0,0,0,,,0,0\n"
               "old01,1998,1,AAA,AL,9,9,9,9,9,9,9,9,9,9,9,9\n");
    home.write("db/Fielding.csv",
               "playerID,yearID,stint,teamID,lgID,POS,G,GS,InnOuts,PO,A,E,DP\n"
               "cat01,1999,1,AAA,AL,C,100,,,,,5,\ncat01,1999,1,AAA,AL,C,0,,,,,0,\n"
               "fir01,1999,1,AAA,AL,1B,150,,,,,8,\nsec01,1999,1,AAA,AL,2B,140,,,,,12,\n"
               "thi01,1999,1,AAA,AL,3B,145,,,,,15,\nsho01,1999,1,AAA,AL,SS,150,,,,,20,\n"
               "lef01,1999,1,AAA,AL,LF,130,,,,,3,\ncen01,1999,1,AAA,AL,CF,155,,,,,4,\n"
               "rig01,1999,1,AAA,AL,RF,140,,,,,6,\ndhx01,1999,1,AAA,AL,1B,10,,,,,1,\n"
               "tra01,1999,1,AAA,AL,LF,30,,,,,1,\ntra01,1999,2,BBB,AL,RF,45,,,,,2,\n"
               "tra01,1999,3,AAA,AL,LF,8,,,,,0,\ncom01,1999,1,AAA,AL,2B,20,,,,,2,\n"
               "com01,1999,1,AAA,AL,SS,3,,,,,0,\npit01,1999,1,AAA,AL,P,30,,,,,1,\n"
               "rel01,1999,1,AAA,AL,P,60,,,,,0,\n");
    home.write("db/Pitching.csv",
               "playerID,yearID,stint,teamID,lgID,W,L,G,GS,SV,IPouts,H,2B,3B,HR,BB,SO,ER\n"
               "rel01,1999,1,AAA,AL,4,3,60,0,30,200,150,25,2,15,20,70,20\n"
               "pit01,1999,1,AAA,AL,15,8,30,30,0,600,180,35,4,20,50,150,70\n");
    home.write("qrdTeams.ini",
               "[Settings]\r\nDatabase=elsewhere\r\n[directories]\r\n"
               "Home=x\r\n  DATABASE = \"" +
                   home.file("db") + "\"\r\n");
}

// Replaces every "from" in a file of the home folder.
void edit(test::TempFolder& h, const std::string& file, const char* from, const char* to) {
    h.write(file, QByteArray::fromStdString(h.read(file)).replace(from, to).toStdString());
}

std::string withName(const char* start, const std::string& name, const char* rest) {
    return start + (name + std::string(18, ' ')).substr(0, 18) + rest;
}

std::vector<std::string> codesOfStarters(const std::vector<std::string>& lines) {
    std::vector<std::string> codes;
    for (std::size_t i = 1; i <= 9 && i < lines.size(); ++i) codes.push_back(lines[i].substr(6, 2));
    return codes;
}

bool holds(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(TeamBuilder, EverySampleClubMakesASoundTeamFile) {
    test::TempFolder home;
    // Without a Database key the sample database is in charge.
    home.write("qrdTeams.ini", "[Directories]\r\nHome=" + home.path() + "\r\n");
    const auto teams = readLines(builderFolder() + "/sample-db/Teams.csv").value();
    ASSERT_GE(teams.size(), 17u);
    for (std::size_t i = 1; i < teams.size(); ++i) {
        const QStringList row = QString::fromStdString(teams[i]).split(',');
        for (const char* type : {"0", "1"}) {
            const QStringList args{row[0], row[2].toLower(), row[1], "t.dat", type};
            const Result r = build(home.path(), args);
            const std::string what = args.join(' ').toStdString();
            ASSERT_EQ(r.exitCode, 0) << what << r.err;
            EXPECT_EQ(r.err, "") << what;
            EXPECT_NE(r.out.find("from " + builderFolder() + "/sample-db\n"), std::string::npos)
                << r.out;
            const std::string bytes = home.read("t.dat");
            const auto lines = splitLines(bytes);
            EXPECT_EQ(bytes, joinLinesCrlf(lines)) << what;  // CR LF after every line
            EXPECT_EQ(describeProblems(checkTeamFile(lines)), "") << what;
            EXPECT_EQ(lines[0].substr(10, 4), row[0].toStdString()) << what;
            // With a designated hitter nine batters start; without one the pitcher bats ninth.
            const auto codes = codesOfStarters(lines);
            EXPECT_EQ(std::count(codes.begin(), codes.end(), "10"), type[0] == '1' ? 1 : 0);
            EXPECT_EQ(lines[9] == "00    01", type[0] == '0') << what;
            // Designated-hitter games only where the league had the designated hitter.
            const bool dhSeason = row[1] == "AL" && row[0].toInt() >= 1973;
            for (std::size_t n = 1; n < lines.size() && !dhSeason; ++n) {
                EXPECT_EQ(lines[n].find("-D"), std::string::npos) << what << ": " << lines[n];
            }
            if (i > 1) continue;
            EXPECT_EQ(build(home.path(), args).exitCode, 0);
            EXPECT_EQ(home.read("t.dat"), bytes) << "the same call must give the same file";
        }
    }
}

TEST(TeamBuilder, TheSampleDatabaseIsWhatItsGeneratorWrites) {
    test::TempFolder out;
    QProcess perl;
    perl.start(QStringLiteral("perl"),
               {QString::fromStdString(builderFolder() + "/sample-db/make-sample-db.pl"),
                QStringLiteral("--out"), QString::fromStdString(out.path())});
    ASSERT_TRUE(perl.waitForFinished(60000));
    ASSERT_EQ(perl.exitCode(), 0) << perl.readAllStandardError().toStdString();
    for (const char* name :
         {"People.csv", "Batting.csv", "Pitching.csv", "Fielding.csv", "Appearances.csv", "Teams.csv"})
        EXPECT_TRUE(out.read(name) == readFileBytes(builderFolder() + "/sample-db/" + name))
            << name << " differs from a fresh run of the generator";
}

TEST(TeamBuilder, ChoosesAndWritesTheTeamFromTheDatabaseFolderSetting) {
    test::TempFolder home;
    writeSmallDatabase(home);
    const Result r = build(home.path(), {"1999", "aaa", "AL", "99ALaaa.dat", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // This database has no Appearances.csv: said once, after the file is written.
    EXPECT_EQ(r.err, "kalbrix8.pl: note: " + home.file("db") +
                         " has no Appearances.csv; positions are estimated from the fielding rows\n");
    const auto lines = readLines(home.file("99ALaaa.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(lines)), "");
    // The only club of its city is the city alone.
    EXPECT_EQ(lines[0].substr(0, 28), "*A       E1999 Alpha        ");
    // Fourth the most home runs of three best sluggers; first the best on-base average of the
    // faster half, second the best left; third and fifth the best sluggers left; then by
    // on-base plus slugging (the catcher, not among the three best hitters, too).
    EXPECT_EQ(codesOfStarters(lines),
              (std::vector<std::string>{"08", "07", "10", "03", "09", "05", "04", "02", "06"}));
    EXPECT_EQ(lines[3], withName("00    10 ", "Hitter, Dan",
                                 "330  95  20   0  22  35  75  70 R   1  0  0  90 080-D 010-3"));
    // The traded player counts only his two stints with this club.
    EXPECT_TRUE(
        holds(lines, withName("00    07 ", "Traded, Tom",
                              "180  54  10   1   6  14  31  24 L   1  3  1  50 038-7 012-D")));
    // A quoted surname with a comma, a given name with quotes, cut at 18 characters.
    EXPECT_TRUE(holds(
        lines, withName("00    04 ", "Smythe, Jr., Bo \"Big\"",
                        " 60  15   3   0   1   5  12   6 R   2  1  0  25 020-4 003-6 002-D")));
    // The pitcher who batted is a pitcher only; the starter comes before the reliever.
    const auto pitchers =
        std::find(lines.begin(), lines.end(),
                  "*Pitchers                  Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St");
    ASSERT_EQ(lines.end() - pitchers, 6);
    EXPECT_EQ(pitchers[1], withName("00    01 ", "Arm, Pete",
                                    "200 180  35   4  20  50 150 315 R  15  8  0  30  30"));
    EXPECT_EQ(pitchers[2], withName("00    01 ", "Relief, Ray",
                                    " 67 150  25   2  15  20  70 270 L   4  3 30  60   0"));
    EXPECT_EQ(pitchers[4].substr(9, 18), withName("", "Traded, Tom", ""));
    EXPECT_EQ(pitchers[5].substr(9, 18), withName("", "Smythe, Jr., Bo \"Big\"", ""));

    // Without a designated hitter the hitter goes to the bench and the pitcher bats ninth.
    ASSERT_EQ(build(home.path(), {"1999", "AAA", "AL", "99ALaaa.dat", "0"}).exitCode, 0);
    const auto noDh = readLines(home.file("99ALaaa.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(noDh)), "");
    EXPECT_EQ(codesOfStarters(noDh),
              (std::vector<std::string>{"08", "07", "09", "03", "05", "04", "02", "06", "01"}));
    EXPECT_EQ(noDh[9], "00    01");
    EXPECT_EQ(noDh[14].substr(0, 27), withName("00    10 ", "Hitter, Dan", ""));

    // The other club, given seven part-timers and a pitcher, sees the traded player's middle
    // stint alone; he leads off, the place nobody fills is open.
    const char* positions[] = {"C", "1B", "2B", "3B", "SS", "LF", "CF", "P"};
    for (int i = 0; i < 8; ++i) {
        const std::string id = "bb" + std::to_string(i), row = id + ",1999,1,BBB,AL,";
        home.write("db/People.csv", home.read("db/People.csv") + id + ",1970,Bo,B" + id + ",R,R\n");
        home.write("db/Batting.csv",
                   home.read("db/Batting.csv") + row + "20,40,3,8,1,0,0,3,0,0,2,9\n");
        home.write("db/Fielding.csv",
                   home.read("db/Fielding.csv") + row + positions[i] + ",20,,,,,1,\n");
    }
    home.write("db/Pitching.csv", home.read("db/Pitching.csv") +
                                      "bb7,1999,1,BBB,AL,5,5,20,20,0,300,90,20,3,9,30,60,40\n");
    ASSERT_EQ(build(home.path(), {"1999", "BBB", "99ALbbb.dat", "1"}).exitCode, 0);
    const auto other = readLines(home.file("99ALbbb.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(other)), "");
    EXPECT_EQ(other[1], withName("00    09 ", "Traded, Tom",
                                 "180  50  10   2   6  15  30  25 L   2  4  2  50 045-9 005-D"));
    EXPECT_EQ(other[9], "00    01");
}

// In a season without the designated hitter, a pitcher who batted every day (two plate
// appearances a club game) is still a batter: from the bench, with his pitching games as
// his group and the pitcher's code, never in the field.
TEST(TeamBuilder, APitcherWhoBattedEveryDayBatsFromTheBench) {
    test::TempFolder home;
    std::filesystem::create_directory(home.file("db"));
    home.write("db/Teams.csv", "yearID,lgID,teamID,franchID,divID,G,W,L,name,park\n"
                               "1880,NL,OLD,OLD,,80,50,30,Oldtown Blues,Old Park\n");
    std::string people = "playerID,nameFirst,nameLast,bats,throws\n";
    std::string batting = "playerID,yearID,stint,teamID,lgID,G,AB,H,2B,3B,HR,RBI,SB,CS,BB,SO\n";
    std::string fielding = "playerID,yearID,stint,teamID,lgID,POS,G,E\n";
    const char* positions[] = {"C", "1B", "2B", "3B", "SS", "LF", "CF", "RF"};
    for (int i = 0; i < 8; ++i) {
        const std::string id = "pos0" + std::to_string(i);
        people += id + ",Al,Player" + std::to_string(i) + ",R,R\n";
        batting += id + ",1880,1,OLD,NL,80,320,90,10,3,1,30,5,0,10,20\n";
        fielding += id + ",1880,1,OLD,NL," + positions[i] + ",80,5\n";
    }
    people += "ace01,Ace,Arm,L,R\n";
    batting += "ace01,1880,1,OLD,NL,70,280,70,9,2,0,25,2,0,8,30\n";
    fielding += "ace01,1880,1,OLD,NL,P,70,9\n";
    home.write("db/People.csv", people);
    home.write("db/Batting.csv", batting);
    home.write("db/Fielding.csv", fielding);
    home.write("db/Pitching.csv",
               "playerID,yearID,stint,teamID,lgID,W,L,G,GS,SV,IPouts,H,HR,BB,SO,ER\n"
               "ace01,1880,1,OLD,NL,45,25,70,70,0,1800,600,5,80,200,150\n");
    home.write("qrdTeams.ini", "[Directories]\r\nDatabase=" + home.file("db") + "\r\n");
    const Result r = build(home.path(), {"1880", "OLD", "NL", "80NLold.dat", ""});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = readLines(home.file("80NLold.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(lines)), "");
    EXPECT_EQ(lines[9], "00    01");  // the pitcher's turn
    const auto bench = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.starts_with("*Bench"); });
    ASSERT_NE(bench, lines.end());
    ASSERT_EQ(lines.end() - bench, 2);
    EXPECT_EQ(bench[1], withName("00    01 ", "Arm, Ace",
                                 "280  70   9   2   0   8  30  25 L   9  2  0  70 070-1"));
}

// Damaged input is refused with one line, nothing written; odd but sound input is read.
TEST(TeamBuilder, RefusesWithOneLineAndWritesNothing) {
    struct Case {
        const char* what;
        QStringList args;
        std::function<void(test::TempFolder&)> setUp;
        int exitCode;
        std::string message;  // the start of the line after "kalbrix8.pl: "; $ = the home folder
        std::vector<std::string> holds = {};  // exit 0: texts in the team file
    };
    const auto noChange = [](test::TempFolder&) {};
    const Case cases[] = {
        {"unknown year",
         {"1850", "AAA", "AL", "x.dat", "1"},
         noChange,
         1,
         "no season 1850 in $/db/Teams.csv"},
        {"unknown team",
         {"1999", "ZZZ", "AL", "x.dat", "1"},
         noChange,
         1,
         "no team ZZZ in 1999; the clubs are AAA BBB"},
        {"unknown league",
         {"1999", "AAA", "NL", "x.dat", "1"},
         noChange,
         1,
         "no team AAA in league NL in 1999; AAA played in AL"},
        {"bad type", {"1999", "AAA", "AL", "x.dat", "2"}, noChange, 1, "the type must be 0 or 1"},
        {"no file name",
         {"1999", "AAA", "AL", ".dat", "1"},
         noChange,
         1,
         "no team file name given"},
        {"short row",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/Fielding.csv", h.read("db/Fielding.csv") + "zed01,1999,1,AAA,AL,C,3\n");
         },
         2,
         "$/db/Fielding.csv line 19: 7 fields where the header has 13"},
        {"open quote",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/People.csv", h.read("db/People.csv") + "zed01,1970,\"Zed,Zed,R,R\r\n");
         },
         2,
         "$/db/People.csv line 15: a quoted field is not closed properly"},
        {"not a number",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/Pitching.csv",
                     h.read("db/Pitching.csv") + "zed01,1999,1,AAA,AL,1,1,1,1,0,3,x,0,0,0,0,0,0\n");
         },
         2,
         "$/db/Pitching.csv line 4: H is not a whole number: \"x\""},
        {"a negative count",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) { edit(h, "db/Batting.csv", ",560,", ",-621,"); },
         2,
         "$/db/Batting.csv line 3: AB is negative: \"-621\""},
        {"an Appearances.csv without the season, and a pinch hitter",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/Appearances.csv",
                     "yearID,teamID,playerID,G_p,G_c,G_1b,G_2b,G_3b,G_ss,"
                     "G_lf,G_cf,G_rf\n1998,AAA,old01,0,9,0,0,0,0,0,0,0\n");
             edit(h, "db/People.csv", "pit01", "phx01,1970,Phil,Pinch,R,R\npit01");
             edit(h, "db/Batting.csv", "old01",
                  "phx01,1999,1,AAA,AL,95,100,9,25,4,0,2,12,0,0,8,30\nold01");
         },
         0,
         "note: $/db/Appearances.csv has no rows for 1999; positions are estimated from Fielding",
         {"  95 000-D"}},
        {"lines ended by CR alone, names outside Latin-1",
         {"2001", "THE", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             std::filesystem::copy(builderFolder() + "/sample-db", h.file("sample"));
             for (const char* f :
                  {"People", "Teams", "Batting", "Pitching", "Fielding", "Appearances"})
                 edit(h, "sample/" + std::string(f) + ".csv", "\n", "\r");
             edit(h, "sample/People.csv", ",Merle,Stamholm,", ",Łukasz,Dvořák-Erdős,");
             edit(h, "sample/People.csv", ",Monty,Acuez,Monty ", ",翔平,大谷,Shohei ");
             h.write("qrdTeams.ini", "[Directories]\r\nDatabase=" + h.file("sample") + "\r\n");
         },
         0,
         "",
         {"Dvor\xe1k-Erd\xf6s, Luka", "acuezmo01, Shohei "}},
        {"missing column",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) { h.write("db/Batting.csv", "playerID,yearID,stint,teamID\n"); },
         2,
         "$/db/Batting.csv line 1: no column \"lgID\""},
        {"missing database",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             std::filesystem::remove(h.file("qrdTeams.ini"));
             std::filesystem::copy_file(script(), h.file("kalbrix8.pl"));
         },
         2,
         "the sample database $/sample-db does not exist or cannot be read"},
        {"a Database folder without its pitching file",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) { std::filesystem::remove(h.file("db/Pitching.csv")); },
         2,
         "the Database folder $/db lacks Pitching.csv"},
        {"a Database folder that is not there",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("qrdTeams.ini", "[Directories]\r\nDatabase=" + h.file("nowhere") + "\r\n");
         },
         2,
         "the Database folder $/nowhere does not exist or cannot be read"},
        {"a 200 MB field",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/Batting.csv", h.read("db/Batting.csv") + "big01,1999,1,AAA,AL,1,1,0," +
                                           std::string(200 << 20, '7') + ",0,0,0,0,0,0,0,0\n");
         },
         2,
         "$/db/Batting.csv line 18: H is not a whole number: \"" + std::string(60, '7') +
             "...\"\n"},
        {"a player without a People row",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             std::string people = h.read("db/People.csv");
             people.erase(people.find("lef01"), people.find("cen01") - people.find("lef01"));
             h.write("db/People.csv", people);
         },
         2,
         "$/db/People.csv has no row for player \"lef01\"\n"},
        // A database that ends before the season asked: no rows, or too few to field a team.
        {"a batting file with only its header",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/Batting.csv",
                     "playerID,yearID,stint,teamID,lgID,G,AB,H,2B,3B,HR,RBI,SB,CS,BB,SO\n");
         },
         2,
         "$/db/Batting.csv has no rows for 1999 AAA: the database may be older than the season\n"},
        {"a pitching file that ends the season before",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             h.write("db/Pitching.csv",
                     "playerID,yearID,stint,teamID,lgID,W,L,G,GS,SV,IPouts,H,HR,BB,SO,ER\n"
                     "pit01,1998,1,AAA,AL,1,1,1,1,0,3,1,0,0,0,0\n");
         },
         2,
         "$/db/Pitching.csv has no rows for 1999 AAA: the database may be older than the season\n"},
        {"a club of one batter",
         {"1999", "BBB", "AL", "x.dat", "1"},
         noChange,
         2,
         "$/db/Batting.csv has fewer than nine batters for 1999 BBB (1)"},
        {"a folder in the way",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) {
             std::filesystem::remove(h.file("x.dat"));
             std::filesystem::create_directory(h.file("x.dat"));
         },
         3,
         "cannot write x.dat in $: "},
    };
    for (const Case& c : cases) {
        test::TempFolder home;
        writeSmallDatabase(home);
        home.write("x.dat", "the old team\r\n");
        c.setUp(home);
        const bool local = home.exists("kalbrix8.pl");
        const Result r = build(home.path(), c.args, local ? home.file("kalbrix8.pl") : script());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.err;
        for (const std::string& text : c.holds)
            EXPECT_NE(home.read("x.dat").find(text), std::string::npos) << c.what << ": " << text;
        std::string expected = c.message.empty() ? "" : "kalbrix8.pl: " + c.message;
        for (auto at = expected.find('$'); at != std::string::npos; at = expected.find('$'))
            expected.replace(at, 1, home.path());
        EXPECT_EQ(r.err.substr(0, expected.size()), expected) << c.what;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), expected.empty() ? 0 : 1) << c.what;
        EXPECT_EQ(r.out.empty(), c.exitCode != 0) << c.what;
        if (c.exitCode != 0 && !std::filesystem::is_directory(home.file("x.dat"))) {
            EXPECT_EQ(home.read("x.dat"), "the old team\r\n") << c.what;
        }
        for (const auto& entry : std::filesystem::directory_iterator(home.path()))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".kalbrix8")) << c.what;
    }
}

TEST(TeamBuilder, AFolderThatIsGoneGetsNoFile) {
    const auto teams = readLines(builderFolder() + "/sample-db/Teams.csv").value();
    const QStringList row = QString::fromStdString(teams.at(1)).split(',');
    test::TempFolder parent;
    const std::string gone = parent.file("gone");
    std::filesystem::create_directory(gone);
    QProcess sh;
    sh.setWorkingDirectory(QString::fromStdString(gone));
    sh.start(QStringLiteral("/bin/sh"),
             {"-c", QString::fromStdString("rmdir \"$PWD\" && exec perl '" + script() + "' " +
                                           row[0].toStdString() + " " + row[2].toStdString() + " " +
                                           row[1].toStdString() + " x.dat 1")});
    sh.waitForFinished(60000);
    EXPECT_EQ(sh.exitCode(), 3);
    EXPECT_TRUE(sh.readAllStandardError().startsWith("kalbrix8.pl: cannot write x.dat"));
    EXPECT_FALSE(std::filesystem::exists(gone));
}

// Header names in other cases and spellings, R's X2B and NA, and quoted fields far longer
// than a line buffer, one of them across a line break: all read, none of it an error. NA
// strike-outs and caught stealing come at the rates of the league's other batters.
TEST(TeamBuilder, ReadsHeaderSpellingsNaAndQuotedFieldsOfAnyLength) {
    test::TempFolder home;
    writeSmallDatabase(home);
    std::string batting = home.read("db/Batting.csv");
    batting.replace(0, batting.find('\n'),
                    "PLAYERID,yearid,Stint,TEAMID,lgid,g,ab,r,h,X2B,X3B,hr,rbi,sb,cs,bb,so");
    const std::string centre = "cen01,1999,1,AAA,AL,155,620,100,190,30,10,12,65,45,12,75,90";
    batting.replace(batting.find(centre), centre.size(),
                    "cen01,1999,1,AAA,AL,155,620,100,190,30,10,12,65,45,NA,75,NA");
    home.write("db/Batting.csv", batting);
    std::string longName = "\"Carl";
    while (longName.size() < 100000) longName += " \"\"the\"\", arm,\r\n";
    std::string people = home.read("db/People.csv");
    people.replace(people.find("Carl"), 4, longName + "\"");
    home.write("db/People.csv", people);
    std::string teams = home.read("db/Teams.csv");
    teams.replace(teams.find("\"Field, Aston\""), 14, "\"" + std::string(100000, ',') + "\"");
    home.write("db/Teams.csv", teams);

    const Result r = build(home.path(), {"1999", "AAA", "AL", "x.dat", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = readLines(home.file("x.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(lines)), "");
    EXPECT_TRUE(holds(lines, withName("00    02 ", "Catcher, Carl \"the\",",
                                      "350  90  15   1  10  30  60  45 R   5  1  1 100 100-2")));
    EXPECT_TRUE(holds(lines, withName("00    08 ", "Centre, Cy",
                                      "620 190  30  10  12  75 106  65 R   4 45 16 155 155-8")));
}

// The 12-character team name: the city when it has one club that season, else a short
// form that tells the clubs of a city apart; never the same for two clubs.
TEST(TeamBuilder, NamesEveryClubOfASeasonApart) {
    test::TempFolder home;
    writeSmallDatabase(home);
    // clang-format off
    home.write("db/Teams.csv",
               "yearID,lgID,teamID,name\n"
               "2010,NL,LAN,Los Angeles Dodgers\n2010,AL,LAA,Los Angeles Angels of Anaheim\n"
               "2010,AL,NYA,New York Yankees\n2010,NL,NYN,New York Mets\n"
               "2010,NL,CHN,Chicago Cubs\n2010,AL,CHA,Chicago White Sox\n"
               "2010,AL,OAK,Oakland Athletics\n2010,NL,SLN,St. Louis Cardinals\n"
               "2010,AL,TBA,Tampa Bay Rays\n2010,AL,TOR,Toronto Blue Jays\n"
               "1884,AA,WAS,Washington Nationals\n1884,UA,WSU,Washington Nationals\n"
               "1884,AA,BAL,Baltimore Orioles\n1884,UA,BLU,Baltimore Monumentals\n"
               "1884,UA,CHU,Chicago/Pittsburgh (Union League)\n1884,NL,CHN,Chicago White Stockings\n"
               "2010,NL,SFN,San Francisco Giants\n1884,AA,CIN,Cincinnati Red Stockings\n"
               "1884,UA,CNU,Cincinnati Red Stockings\n1884,NL,KC1,Kansas City Red Stockings\n"
               "1884,NL,KC2,Kansas City Red Stockings\n");
    const std::pair<const char*, const char*> cases[] = {
        {"2010 LAN", "LA Dodgers  "}, {"2010 LAA", "LA Angels   "}, {"2010 NYA", "NY Yankees  "},
        {"2010 NYN", "NY Mets     "}, {"2010 CHN", "Chicago Cubs"}, {"2010 CHA", "White Sox   "},
        {"2010 OAK", "Oakland     "}, {"2010 SLN", "St. Louis   "}, {"2010 TBA", "Tampa Bay   "},
        {"2010 TOR", "Toronto     "}, {"1884 WAS", "Nationals AA"}, {"1884 WSU", "Nationals UA"},
        {"1884 BAL", "Bal Orioles "}, {"1884 BLU", "Monumentals "},
        {"1884 CHU", "Chi/Pit     "}, {"1884 CHN", "Chicago     "},
        // Whole words only, never two blanks: a short form, a nickname's last word, the code.
        {"2010 SFN", "SF Giants   "}, {"1884 CIN", "Stockings AA"}, {"1884 CNU", "Stockings UA"},
        {"1884 KC1", "KC Red KC1  "}, {"1884 KC2", "KC Red KC2  "},
    };
    // clang-format on
    // Nine batters and a pitcher for every club, in rows of no league.
    std::string batting = "playerID,yearID,stint,teamID,lgID,G,AB,H,2B,3B,HR,RBI,SB,CS,BB,SO\n";
    std::string pitching = "playerID,yearID,stint,teamID,lgID,W,L,G,GS,SV,IPouts,H,HR,BB,SO,ER\n";
    for (const auto& [club, field] : cases) {
        const std::string start = std::string(club).replace(4, 1, ",1,") + ",,";
        for (const char* id :
             {"cat01", "fir01", "sec01", "thi01", "sho01", "lef01", "cen01", "rig01", "dhx01"})
            batting += id + ("," + start) + "10,30,8,1,0,0,3,0,0,2,5\n";
        pitching += "pit01," + start + "1,1,5,5,0,90,20,2,5,10,8\n";
    }
    home.write("db/Batting.csv", batting);
    home.write("db/Pitching.csv", pitching);
    for (const auto& [club, field] : cases) {
        const QStringList words = QString::fromLatin1(club).split(' ');
        const Result r = build(home.path(), {words[0], words[1], "t.dat", "0"});
        ASSERT_EQ(r.exitCode, 0) << club << ": " << r.err;
        EXPECT_EQ(home.read("t.dat").substr(15, 12), field) << club;
    }
}

// A disk that fills up during the write: the old team file stays as it was and no
// temporary file is left.
TEST(TeamBuilder, AFullDiskLeavesTheOldFileAlone) {
    test::TempFolder home;
    writeSmallDatabase(home);
    home.write("x.dat", "the old team\r\n");
    QProcess sh;
    sh.setWorkingDirectory(QString::fromStdString(home.path()));
    // A file size limit of one kilobyte stands in for the full disk.
    sh.start(QStringLiteral("/bin/sh"),
             {"-c", QString::fromStdString("ulimit -f 2 && exec perl '" + script() +
                                           "' 1999 AAA AL x.dat 1")});
    ASSERT_TRUE(sh.waitForFinished(60000));
    EXPECT_EQ(sh.exitCode(), 3);
    const std::string err = sh.readAllStandardError().toStdString();
    EXPECT_TRUE(err.starts_with("kalbrix8.pl: cannot write x.dat in " + home.path() + ": ")) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(home.read("x.dat"), "the old team\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(home.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".kalbrix8"));
}

// Fields of one CSV record; quoted fields may hold commas and doubled quotes.
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The rows of a CSV file as maps from header name to field.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& path) {
    const auto lines = readLines(path).value();
    const auto header = csvFields(lines.at(0));
    std::vector<std::map<std::string, std::string>> rows;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const auto fields = csvFields(lines[n]);
        auto& row = rows.emplace_back();
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i)
            row[header[i]] = fields[i];
    }
    return rows;
}

bool designatedHitterSeason(const std::string& league, int year) {
    return (league == "AL" && year >= 1973) ||
           (league == "NL" && (year == 2020 || year >= 2022));
}

// On-base average, and with slugging, from the counts of a batter line.
double onBase(const std::string& line, bool plusSlugging = false) {
    const auto at = [&](std::size_t column) { return std::stod(line.substr(column - 1, 3)); };
    const double ab = at(28), h = at(32), doubles = at(36), triples = at(40), hr = at(44),
                 bb = at(48);
    const double onBase = ab + bb > 0 ? (h + bb) / (ab + bb) : 0;
    return onBase + (plusSlugging && ab > 0 ? (h + doubles + 2 * triples + 3 * hr) / ab : 0);
}

// A database of the public one's full size and shape, made at test time by the sample's
// generator with its truth: every player's real main position per club and season.
// Clubs of every era and league, each built with a designated hitter, without one and
// as the season has it, must come out right against that truth.
TEST(TeamBuilder, BuildsRightTeamsFromAFullSizeDatabase) {
    test::TempFolder home;
    QProcess perl;
    perl.start(QStringLiteral("perl"),
               {QString::fromStdString(builderFolder() + "/sample-db/make-sample-db.pl"),
                QStringLiteral("--history"), QStringLiteral("--out"),
                QString::fromStdString(home.file("db")), QStringLiteral("--truth"),
                QString::fromStdString(home.file("truth.csv"))});
    ASSERT_TRUE(perl.waitForFinished(600000));
    ASSERT_EQ(perl.exitCode(), 0) << perl.readAllStandardError().toStdString();
    home.write("qrdTeams.ini", "[Directories]\r\nDatabase=" + home.file("db") + "\r\n");

    struct Player {
        std::string main;
        int pa;
        bool staff;
    };
    std::map<std::string, std::map<std::string, Player>> truth;  // "year team" => id => truth
    for (const auto& row : csvRows(home.file("truth.csv")))
        truth[row.at("yearID") + " " + row.at("teamID")][row.at("playerID")] = {
            row.at("main"), std::stoi(row.at("PA")), row.at("staff") == "1"};
    // The name field each player gets: surname, comma, given name, in Latin-1, 18 wide (a
    // namesake's ends in the initial of his second given name).
    std::map<std::string, std::string> nameOf, initialOf;
    for (const auto& row : csvRows(home.file("db/core/People.csv"))) {
        const std::string& id = row.at("playerID");
        nameOf[id] = withName("",
                              QString::fromUtf8(row.at("nameLast") + ", " + row.at("nameFirst"))
                                  .toLatin1()
                                  .toStdString(),
                              "");
        const auto blank = row.at("nameGiven").find(' ');
        if (blank != std::string::npos)
            initialOf[id] = nameOf[id].substr(0, 8) + row.at("nameGiven")[blank + 1] + '.';
    }
    std::map<std::string, int> clubGames;
    std::vector<std::array<std::string, 3>> clubs;  // year, league, team: the first of each
    std::set<std::string> seen;
    for (const auto& row : csvRows(home.file("db/core/Teams.csv"))) {
        clubGames[row.at("yearID") + " " + row.at("teamID")] = std::stoi(row.at("G"));
        if (seen.insert(row.at("yearID") + row.at("lgID")).second)
            clubs.push_back({row.at("yearID"), row.at("lgID"), row.at("teamID")});
    }
    const std::set<std::string> years{"1871", "1883", "1884", "1890", "1915", "1950",
                                      "1972", "1973", "2020", "2021", "2022"};
    const char* types[] = {"", "0", "1"};
    int built = 0;
    for (const auto& [year, league, team] : clubs) {
        if (!years.count(year)) continue;
        const std::string type = types[built++ % 3];
        const std::string what = year + " " + league + " " + team + " type " + type;
        const Result r = build(home.path(), {QString::fromStdString(year),
                                             QString::fromStdString(team),
                                             QString::fromStdString(league), "t.dat",
                                             QString::fromStdString(type)});
        ASSERT_EQ(r.exitCode, 0) << what << ": " << r.err;
        EXPECT_EQ(r.err, "") << what;
        const auto lines = readLines(home.file("t.dat")).value();
        EXPECT_EQ(describeProblems(checkTeamFile(lines)), "") << what;

        // Every player line names one of the club's players, a namesake by his initial.
        const auto& players = truth[year + " " + team];
        std::map<std::string, std::vector<std::string>> byName;
        for (const auto& [id, t] : players) byName[nameOf[id]].push_back(id);
        for (const auto& [id, t] : players) {
            if (byName[nameOf[id]].size() > 1 && initialOf.count(id))
                byName[initialOf[id]].push_back(id);
        }
        const auto whoIs = [&](const std::string& line) -> const std::vector<std::string>* {
            const std::string field = line.substr(9, 18);
            if (const auto found = byName.find(field); found != byName.end()) return &found->second;
            const std::string name = field.substr(0, field.find_last_not_of(' ') + 1);
            const auto tagged = byName.find(name.substr(0, 8) + name.substr(name.size() - 2));
            return tagged == byName.end() ? nullptr : &tagged->second;
        };
        std::map<std::string, int> listed;  // id => lines as batter
        std::map<std::string, std::string> startedAs;
        std::set<std::string> pitchers, starters, fields[2];
        bool pitching = false;
        int strikeOuts = 0, caught = 0, stolen = 0;
        for (std::size_t n = 1; n < lines.size(); ++n) {
            if (lines[n].starts_with("*")) {
                pitching = lines[n].starts_with("*P");
                continue;
            }
            if (lines[n] == "00    01") continue;
            EXPECT_TRUE(fields[pitching].insert(lines[n].substr(9, 18)).second)
                << what << ": two players of one name field: " << lines[n];
            const auto found = whoIs(lines[n]);
            ASSERT_NE(found, nullptr) << what << ": no player of the club: " << lines[n];
            if (!pitching) {
                strikeOuts += std::stoi(lines[n].substr(51, 3));
                stolen += std::stoi(lines[n].substr(65, 2));
                caught += std::stoi(lines[n].substr(68, 2));
                for (std::size_t at = 75; at + 5 <= lines[n].size(); at += 6)
                    EXPECT_LE(std::stoi(lines[n].substr(at, 3)), std::stoi(lines[n].substr(71, 3)))
                        << what << ": more games at a position than games: " << lines[n];
            }
            if (found->size() != 1) continue;  // two players of the same name and initial
            const std::string& id = found->front();
            pitching ? (void)pitchers.insert(id) : (void)++listed[id];
            if (!pitching && n <= 9) starters.insert(id), startedAs[id] = lines[n].substr(6, 2);
            if (pitching) {
                EXPECT_TRUE(players.at(id).staff) << what << ": a fielder's mop-up: " << lines[n];
            } else if (n <= 9 && lines[n][7] >= '7' && lines[n][7] <= '9') {
                const std::string field = std::string(1, "LCR"[lines[n][7] - '7']) + "F";
                EXPECT_EQ(players.at(id).main, field) << what << ": " << lines[n];
            }
            if (!designatedHitterSeason(league, std::stoi(year))) {
                EXPECT_EQ(lines[n].find("-D"), std::string::npos) << what << ": " << lines[n];
            }
        }
        for (const auto& [id, count] : listed) EXPECT_EQ(count, 1) << what << ": " << id;
        const int regularPa = 2 * clubGames[year + " " + team];
        // Every regular bats, starting unless regulars fill the line-up; pinch hitters too.
        const auto isRegular = [&](const std::string& id) {
            return players.at(id).pa >= regularPa && !players.at(id).staff;
        };
        const bool allRegular = std::all_of(starters.begin(), starters.end(), isRegular);
        const bool withDh =
            type == "1" || (type.empty() && designatedHitterSeason(league, std::stoi(year)));
        for (const auto& [id, t] : players) {
            EXPECT_TRUE(t.main != "DH" || !withDh || startedAs[id] == "10")
                << what << ": DH " << id;
            EXPECT_TRUE(t.main != "P" || !startedAs.count(id)) << what << ": pitcher starts " << id;
            if (t.pa >= regularPa) {
                EXPECT_EQ(listed.count(id), 1u) << what << ": regular " << id << " is no batter";
            }
            if (isRegular(id)) {
                EXPECT_TRUE(starters.count(id) || allRegular)
                    << what << ": regular " << id << " sits";
            }
            if (t.main == "PH") {
                EXPECT_EQ(listed.count(id), 1u) << what << ": pinch hitter " << id;
            }
        }
        // Strike-outs and caught stealing the early seasons lack are estimated, not 0.
        EXPECT_GT(strikeOuts, 0) << what;
        if (stolen > 0) {
            EXPECT_GT(caught, 0) << what;
        }

        // The designated hitter as the season or the type says; regulars bat first to fourth.
        const auto codes = codesOfStarters(lines);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), "10"), withDh ? 1 : 0) << what;
        for (std::size_t n = 1; n <= 4; ++n) {
            const auto found = whoIs(lines[n]);
            if (!found || found->size() != 1) continue;
            EXPECT_GE(players.at(found->front()).pa, regularPa) << what << ": " << lines[n];
        }
        // The catcher bats first to fifth only as one of the three best hitters.
        for (std::size_t n = 1; n <= 5; ++n) {
            if (lines[n].substr(6, 2) != "02") continue;
            int better = 0, reachMore = 0, faster = 0;
            for (std::size_t m = 1; m <= 9; ++m) {
                if (lines[m] == "00    01") continue;
                better += onBase(lines[m], true) > onBase(lines[n], true);
                reachMore += onBase(lines[m]) > onBase(lines[n]) + 0.0005;
                faster += std::stoi(lines[m].substr(65, 2)) > std::stoi(lines[n].substr(65, 2));
            }
            EXPECT_LE(better, 2) << what << ": catcher bats " << n;
            // First or second only with the best on-base average and speed (stolen bases).
            EXPECT_TRUE(n > 2 || (!reachMore && faster <= 2)) << what << ": catcher bats " << n;
        }
    }
    EXPECT_GE(built, 22);
}

}  // namespace
}  // namespace rostrix
