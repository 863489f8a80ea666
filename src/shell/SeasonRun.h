// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "shell/SeasonPlan.h"

namespace rostrix {

// What became of one club of a season run.
enum class ClubOutcome { Built, Skipped, Failed, NotBuilt };

struct ClubResult {
    SeasonClub club;
    ClubOutcome outcome = ClubOutcome::NotBuilt;
    std::string line;          // a failed club: what the builder said about it
    std::size_t problems = 0;  // a built club: what the team file check finds
};

struct SeasonJob {
    std::string home;          // where the team files go; errlog.txt is there too
    std::string scriptFolder;  // the folder of the kalbrix8.pl that builds
    bool ownScript = false;    // a user's own script: run once per club like Create Team
    int year = 0;
    std::string league;  // "" for every league of the season
    std::string type;
    std::vector<SeasonClub> clubs;  // the clubs to build, in order
};

struct SeasonEvents {
    // The club about to be built, and how many are done before it.
    std::function<void(std::size_t done, const SeasonClub& club)> building;
    // Asked between short waits: true stops the run once the club being built is written.
    std::function<bool()> cancelled;
    // Runs between short waits so windows keep repainting.
    std::function<void()> pump;
};

struct SeasonOutcome {
    std::vector<ClubResult> clubs;  // one per club of the job, in its order
    std::string stopLine;           // why the run ended early, in the builder's words
    bool cancelled = false;
};

// Builds the clubs: the bundled builder in one run that reads the database once, a user's
// own script once per club. Every file the builder writes is whole; the script's output
// goes to errlog.txt as with Create Team. Each built file is checked.
SeasonOutcome runSeason(const SeasonJob& job, const SeasonEvents& events);

// Follows one line of the builder's season output; current is the index of the club
// being built, or npos.
void followBuilderLine(std::vector<ClubResult>& clubs, const std::string& line,
                       std::size_t& current);

// The summary's first line: "2001: 28 built, 1 skipped, 1 failed."
std::string seasonHeadline(int year, const std::vector<ClubResult>& clubs);

// What a row of the summary says after the file name.
std::string clubResultText(const ClubResult& result);

}  // namespace rostrix
