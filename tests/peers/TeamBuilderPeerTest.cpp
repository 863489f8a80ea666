#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <filesystem>

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
    // A Database folder without the files leaves the sample database in charge.
    home.write("qrdTeams.ini", "[Directories]\r\nDatabase=" + home.path() + "\r\n");
    const auto teams = readLines(builderFolder() + "/sample-db/Teams.csv").value();
    ASSERT_GE(teams.size(), 17u);
    for (std::size_t i = 1; i < teams.size(); ++i) {
        const QStringList row = QString::fromStdString(teams[i]).split(',');
        for (const char* type : {"0", "1"}) {
            const QStringList args{row[0], row[2].toLower(), row[1], "t.dat", type};
            const Result r = build(home.path(), args);
            const std::string what = args.join(' ').toStdString();
            ASSERT_EQ(r.exitCode, 0) << what << r.err;
            EXPECT_NE(r.out.find("using the sample database"), std::string::npos) << r.out;
            const std::string bytes = home.read("t.dat");
            const auto lines = splitLines(bytes);
            EXPECT_EQ(bytes, joinLinesCrlf(lines)) << what;  // CR LF after every line
            EXPECT_EQ(describeProblems(checkTeamFile(lines)), "") << what;
            EXPECT_EQ(lines[0].substr(10, 4), row[0].toStdString()) << what;
            // With a designated hitter nine batters start; without one the pitcher bats ninth.
            const auto codes = codesOfStarters(lines);
            EXPECT_EQ(std::count(codes.begin(), codes.end(), "10"), type[0] == '1' ? 1 : 0);
            EXPECT_EQ(lines[9] == "00    01", type[0] == '0') << what;
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
         {"People.csv", "Batting.csv", "Pitching.csv", "Fielding.csv", "Teams.csv"})
        EXPECT_TRUE(out.read(name) == readFileBytes(builderFolder() + "/sample-db/" + name))
            << name << " differs from a fresh run of the generator";
}

TEST(TeamBuilder, ChoosesAndWritesTheTeamFromTheDatabaseFolderSetting) {
    test::TempFolder home;
    writeSmallDatabase(home);
    const Result r = build(home.path(), {"1999", "aaa", "AL", "99ALaaa.dat", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = readLines(home.file("99ALaaa.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(lines)), "");
    EXPECT_EQ(lines[0].substr(0, 27), "*A       E1999 Alpha Angler");
    // Lead-off the best on-base, fourth the most home runs, third the best slugging rest.
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
              (std::vector<std::string>{"08", "04", "07", "03", "09", "05", "02", "06", "01"}));
    EXPECT_EQ(noDh[9], "00    01");
    EXPECT_EQ(noDh[14].substr(0, 27), withName("00    10 ", "Hitter, Dan", ""));

    // The other club sees the traded player's middle stint alone; empty places stay open.
    ASSERT_EQ(build(home.path(), {"1999", "BBB", "99ALbbb.dat", "1"}).exitCode, 0);
    const auto other = readLines(home.file("99ALbbb.dat")).value();
    EXPECT_EQ(describeProblems(checkTeamFile(other)), "");
    EXPECT_EQ(other[1], withName("00    09 ", "Traded, Tom",
                                 "180  50  10   2   6  15  30  25 L   2  4  2  50 045-9 005-D"));
    EXPECT_EQ(other[2], "00    01");
}

TEST(TeamBuilder, RefusesWithOneLineAndWritesNothing) {
    struct Case {
        const char* what;
        QStringList args;
        std::function<void(test::TempFolder&)> setUp;
        int exitCode;
        std::string message;  // the start of the line after "kalbrix8.pl: "; $ = the home folder
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
         "cannot read $/sample-db/Teams.csv: No such file or directory"},
        {"a folder in the way",
         {"1999", "AAA", "AL", "x.dat", "1"},
         [](test::TempFolder& h) { std::filesystem::create_directory(h.file("x.dat")); },
         3,
         "cannot write x.dat in $: "},
    };
    for (const Case& c : cases) {
        test::TempFolder home;
        writeSmallDatabase(home);
        c.setUp(home);
        const bool local = home.exists("kalbrix8.pl");
        const Result r = build(home.path(), c.args, local ? home.file("kalbrix8.pl") : script());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.err;
        std::string expected = "kalbrix8.pl: " + c.message;
        for (auto at = expected.find('$'); at != std::string::npos; at = expected.find('$'))
            expected.replace(at, 1, home.path());
        EXPECT_EQ(r.err.substr(0, expected.size()), expected) << c.what;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_FALSE(std::filesystem::is_regular_file(home.file("x.dat"))) << c.what;
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

}  // namespace
}  // namespace rostrix
