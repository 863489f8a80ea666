// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "shell/SeasonRun.h"
#include "support/core/ProcessState.h"
#include "support/core/TempFolder.h"
#include "support/core/TinyFileSystem.h"

namespace rostrix {
namespace {

namespace fs = std::filesystem;

std::string builderFolder() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/teambuilder";
}

int perl(const std::string& folder, const QStringList& args, std::string* out = nullptr) {
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(folder));
    p.start(QStringLiteral("perl"), args);
    p.waitForFinished(600000);
    if (out) *out = p.readAllStandardOutput().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void useDatabase(const std::string& home, const std::string& db) {
    std::ofstream(home + "/qrdTeams.ini") << "[Directories]\r\nDatabase=" << db << "\r\n";
}

// The clubs of a season as the builder lists them.
std::vector<SeasonClub> clubsOf(const std::string& home, const char* year) {
    std::string out;
    perl(home,
         {QString::fromStdString(builderFolder() + "/kalbrix8.pl"), "--season", year, "ALL",
          "--list"},
         &out);
    return parseSeasonClubs(out);
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// What a single run writes for the club, the file season runs must match byte for byte.
std::string singleRun(const std::string& home, const SeasonClub& club) {
    EXPECT_EQ(perl(home, {QString::fromStdString(builderFolder() + "/kalbrix8.pl"), "2001",
                          QString::fromStdString(club.id), QString::fromStdString(club.league),
                          "single.dat"}),
              0);
    return contents(home + "/single.dat");
}

SeasonJob seasonOf(const std::string& home, int year, std::vector<SeasonClub> clubs) {
    return {home, builderFolder(), false, year, "", "", std::move(clubs)};
}

// Files a run left: team files only, never a temporary one.
std::vector<std::string> datFiles(const std::string& home) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(home)) {
        const std::string name = e.path().filename().string();
        EXPECT_FALSE(name.starts_with(".kalbrix8")) << name;
        if (name.ends_with(".dat")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A database of the public one's full size, made once by the sample's generator.
const std::string& fullSizeDatabase() {
    static test::TempFolder folder;
    static const bool made =
        perl(folder.path(),
             {QString::fromStdString(builderFolder() + "/sample-db/make-sample-db.pl"), "--history",
              "--out", QString::fromStdString(folder.file("db"))}) == 0;
    EXPECT_TRUE(made);
    static const std::string db = folder.file("db");
    return db;
}

// Every club of 2001 from a full-size database in one season run, each file byte for
// byte what a run for that club alone writes; a Cancel stops after the club being built.
TEST(SeasonBuilder, WritesWhatSingleRunsWriteAndStopsAfterTheClubOnCancel) {
    test::TempFolder season, single, cancelled;
    for (const auto* home : {&season, &single, &cancelled})
        useDatabase(home->path(), fullSizeDatabase());
    const auto clubs = clubsOf(season.path(), "2001");
    ASSERT_EQ(clubs.size(), 30u);

    std::vector<std::string> announced;
    SeasonEvents events;
    events.building = [&](std::size_t, const SeasonClub& club) { announced.push_back(club.file); };
    const SeasonOutcome out = runSeason(seasonOf(season.path(), 2001, clubs), events);
    EXPECT_EQ(out.stopLine, "");
    ASSERT_EQ(announced.size(), 30u);
    for (std::size_t i = 0; i < clubs.size(); ++i) {
        EXPECT_EQ(announced[i], clubs[i].file);
        EXPECT_EQ(out.clubs[i].outcome, ClubOutcome::Built) << clubs[i].file;
        EXPECT_EQ(out.clubs[i].problems, 0u) << clubs[i].file;
        EXPECT_TRUE(contents(season.file(clubs[i].file)) == singleRun(single.path(), clubs[i]))
            << clubs[i].file;
    }

    // Cancel at once: the builder hears it while reading the database and stops after the
    // first club, whose file is whole.
    events.cancelled = [] { return true; };
    const SeasonOutcome stopped = runSeason(seasonOf(cancelled.path(), 2001, clubs), events);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.clubs[0].outcome, ClubOutcome::Built);
    EXPECT_EQ(stopped.clubs[1].outcome, ClubOutcome::NotBuilt);
    EXPECT_EQ(datFiles(cancelled.path()), std::vector<std::string>{clubs[0].file});
    EXPECT_TRUE(contents(cancelled.file(clubs[0].file)) == contents(season.file(clubs[0].file)));

    // A script of the user's own that never ends (it loops, and starts a sleep): Cancel ends
    // it with all it started, and the run comes back with the club not written.
    test::TempFolder own;
    own.write("kalbrix8.pl",
              "my $sleep = fork() // die; exec('sleep', '60') unless $sleep;\n"
              "open(my $f, '>', 'pids.tmp'); print $f \"$$ $sleep\"; close $f;\n"
              "rename('pids.tmp', 'pids'); while (1) { select(undef, undef, undef, 0.1) }\n");
    SeasonEvents stop;
    stop.cancelled = [&] { return own.exists("pids"); };
    const SeasonOutcome ended =
        runSeason({own.path(), own.path(), true, 2001, "", "", {clubs[0], clubs[1]}}, stop);
    EXPECT_TRUE(ended.cancelled);
    EXPECT_EQ(ended.clubs[0].outcome, ClubOutcome::Failed);
    EXPECT_EQ(ended.clubs[1].outcome, ClubOutcome::NotBuilt);
    std::istringstream pids(own.read("pids"));
    for (std::string pid; pids >> pid;)
        EXPECT_TRUE(test::endsSoon(pid)) << "still running: " << pid;
}

// A copy of the sample database with one file changed by edit.
std::string sampleWith(const test::TempFolder& into, const std::string& file,
                       const std::function<bool(const std::string&)>& dropLine) {
    fs::copy(builderFolder() + "/sample-db", into.file("db"));
    std::ifstream in(into.file("db/" + file));
    std::string kept;
    for (std::string line; std::getline(in, line);)
        if (!dropLine(line)) kept += line + "\n";
    std::ofstream(into.file("db/" + file), std::ios::trunc) << kept;
    return into.file("db");
}

// What goes wrong stays clear and loses nothing: a database that lacks a club's season
// stops before any file is written, a club the builder refuses is listed and the others
// are built, a full disk stops at the club that did not fit.
TEST(SeasonBuilder, FailuresStopCleanlyOrListTheClub) {
    test::TempFolder reference;
    const auto clubs = clubsOf(reference.path(), "2001");
    ASSERT_EQ(clubs.size(), 8u);

    test::TempFolder lacking;
    useDatabase(lacking.path(), sampleWith(lacking, "Batting.csv", [](const std::string& l) {
                    return l.find(",2001,") != std::string::npos &&
                           l.find(",GRN,") != std::string::npos;
                }));
    SeasonOutcome out = runSeason(seasonOf(lacking.path(), 2001, clubs), {});
    EXPECT_TRUE(out.stopLine.starts_with("kalbrix8.pl: " + lacking.file("db") +
                                         "/Batting.csv has no rows for 2001 GRN"))
        << out.stopLine;
    EXPECT_EQ(datFiles(lacking.path()), std::vector<std::string>{});
    for (const ClubResult& r : out.clubs) EXPECT_EQ(r.outcome, ClubOutcome::NotBuilt);

    // A player of Saltmont's is missing from People.csv: that club alone fails.
    test::TempFolder refused;
    std::string player;
    {
        std::ifstream bat(builderFolder() + "/sample-db/Batting.csv");
        for (std::string l; std::getline(bat, l) && player.empty();)
            if (l.find(",2001,") != std::string::npos && l.find(",SAT,") != std::string::npos)
                player = l.substr(0, l.find(','));
    }
    useDatabase(refused.path(), sampleWith(refused, "People.csv", [&](const std::string& l) {
                    return l.find("," + player + ",") != std::string::npos ||
                           l.starts_with(player + ",");
                }));
    out = runSeason(seasonOf(refused.path(), 2001, clubs), {});
    EXPECT_EQ(out.stopLine, "");
    for (const ClubResult& r : out.clubs) {
        if (r.club.id == "SAT") {
            EXPECT_EQ(r.outcome, ClubOutcome::Failed);
            EXPECT_EQ(r.line, "kalbrix8.pl: " + refused.file("db") +
                                  "/People.csv has no row for player \"" + player + "\"");
        } else {
            EXPECT_EQ(r.outcome, ClubOutcome::Built) << r.club.file;
        }
    }
    EXPECT_EQ(datFiles(refused.path()).size(), 7u);

    if (const std::string why = test::TinyFileSystem::unavailable(); !why.empty())
        GTEST_SKIP() << why;
    test::TinyFileSystem tiny(256 * 1024);
    ASSERT_TRUE(tiny.mounted());
    useDatabase(tiny.path(), builderFolder() + "/sample-db");
    tiny.write("errlog.txt", "\n");
    tiny.fillLeaving(2 * 4096);  // room for two team files
    out = runSeason(seasonOf(tiny.path(), 2001, clubs), {});
    EXPECT_EQ(out.stopLine, "kalbrix8.pl: cannot write " + clubs[2].file + " in " + tiny.path() +
                                ": No space left on device");
    EXPECT_EQ(out.clubs[2].outcome, ClubOutcome::Failed);
    EXPECT_EQ(out.clubs[2].line, out.stopLine);
    EXPECT_EQ(out.clubs[3].outcome, ClubOutcome::NotBuilt);
    EXPECT_EQ(datFiles(tiny.path()), (std::vector<std::string>{clubs[0].file, clubs[1].file}));
    for (int i : {0, 1})
        EXPECT_TRUE(contents(tiny.file(clubs[i].file)) == singleRun(reference.path(), clubs[i]));
}

}  // namespace
}  // namespace rostrix
