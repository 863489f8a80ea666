// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace rostrix {

// One club of a season as the team builder lists it, with the team file it gets in the
// home folder, named as Auto File Name names one (autoFileName): the year's last two
// digits, league and club, "01ALnya.dat", a name the game's eight characters take.
struct SeasonClub {
    std::string file;
    std::string id;
    std::string league;
    std::string name;
    bool operator==(const SeasonClub&) const = default;
};

// The builder's club list ("club <file> <id> <league> <name>" lines). Other lines are
// not part of it.
std::vector<SeasonClub> parseSeasonClubs(const std::string& listing);

// The question asked before anything runs, with the names the files get:
// "2001: 30 clubs in AL and NL. Build them into /home/me/QRD Teams as 01ALana.dat to
// 01NLwas.dat?"
std::string seasonQuestion(int year, const std::vector<SeasonClub>& clubs,
                           const std::string& homeFolder);

// The clubs whose team file is already in the home folder.
std::set<std::string> existingSeasonFiles(const std::string& homeFolder,
                                          const std::vector<SeasonClub>& clubs);

// The clubs whose name in the home folder holds something no team file may replace (a
// folder, a pipe, a device, a loop of links), each with what the user is told. They are
// not built and not asked about.
std::map<std::string, std::string> refusedSeasonFiles(const std::string& homeFolder,
                                                      const std::vector<SeasonClub>& clubs);

// The one question that covers every team file already there.
std::string existingFilesQuestion(const std::set<std::string>& existing, std::size_t clubs);

// What the user said to the files that are already there.
enum class ExistingFiles { Replace, Keep, Cancel };

// The clubs to build: all of them when the files are replaced, those without a file when
// they are kept, none when the command is cancelled.
std::vector<SeasonClub> clubsToBuild(const std::vector<SeasonClub>& clubs,
                                     const std::set<std::string>& existing, ExistingFiles choice);

// The builder's arguments after the script: a season run, or its club list. An empty
// league asks for every league of the season; only names the clubs to build (all when
// empty).
std::vector<std::string> seasonArguments(int year, const std::string& league,
                                         const std::string& type, bool list,
                                         const std::vector<SeasonClub>& only = {});

}  // namespace rostrix
