// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// Receives each status text as the run sets it: "Starting write...", "Writing data..."
// (once per line) and "Done!".
using ArchiveStatus = std::function<void(const char*)>;

// "Write all": files the season of every player line of a team into the player archive,
// one section per player name with a title entry and one entry per year and team.
void writeAllPlayers(const std::string& archivePath, const std::vector<std::string>& lines,
                     const ArchiveStatus& status);

// "Write Checked": the same for the lines whose flag in checked is set (a missing flag
// counts as unchecked); year, team and titles still come from the first line.
void writeCheckedPlayers(const std::string& archivePath, const std::vector<std::string>& lines,
                         const std::vector<bool>& checked, const ArchiveStatus& status);

// True for a line the player archive files: longer than 75 characters and no title line
// (the title mark read in any case). The placeholder "00    01" is never one.
bool archivesAsPlayer(std::string_view line);

// Both throw Error("Unable to write to <archivePath>") when the archive cannot be written;
// it is then exactly as it was and "Done!" is not reported.

}  // namespace rostrix
