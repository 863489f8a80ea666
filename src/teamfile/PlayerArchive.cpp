// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/PlayerArchive.h"

#include <map>

#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"
#include "teamfile/TeamFile.h"

namespace rostrix {

namespace {

// Lines this long or shorter hold no player (the placeholder "00    01" among them).
constexpr std::size_t kShortLine = 75;
constexpr const char* kTitleKey = "Year Team        =";

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

void writePlayers(const std::string& archivePath, const std::vector<std::string>& lines,
                  const std::function<bool(std::size_t)>& wanted, const ArchiveStatus& status) {
    status("Starting write...");
    ProfileFile archive(archivePath);
    std::string year, team, titles;
    // A name met twice in one run (a two-way player's batting and pitching lines, or two
    // players of one name) keeps each season: the second gets " #2" after the team field,
    // a key no earlier archive holds, as the team field is always 12 columns wide.
    std::map<std::string, int> met;
    const auto seasonKey = [&met](std::string_view name, const std::string& yearAndTeam) {
        std::string key = upper(std::string(name));
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        const int n = ++met[key];
        return yearAndTeam + (n == 1 ? "" : " #" + std::to_string(n)) + "=";
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        status("Writing data...");
        const std::string& line = lines[i];
        if (line.size() <= kShortLine) continue;
        if (i == 0) {
            year = columns(line, kYearColumns);
            team = columns(line, kTeamColumns);
            titles = columnsFrom(line, kStatsStartColumn);
        }
        // " AB" on the team title and bench lines, "Inn" on the pitcher line.
        const std::string kind = upper(std::string(columns(line, kTitleMarkColumns)));
        if (kind == "AB" || kind == "NN" || !wanted(i)) continue;
        const std::string_view name = columns(line, kNameColumns);
        archive.write(name, kTitleKey, " P " + titles);
        archive.write(name, seasonKey(name, year + " " + team),
                      std::string(columns(line, kPositionColumns)) + " " +
                          std::string(columnsFrom(line, kStatsStartColumn)));
    }
    // One save for the whole run: a failure leaves the archive as it was.
    if (!archive.save())
        throw Error(fileFailureText("Unable to write to %s", archivePath, archive.error()));
    status("Done!");
}

}  // namespace

void writeAllPlayers(const std::string& archivePath, const std::vector<std::string>& lines,
                     const ArchiveStatus& status) {
    writePlayers(
        archivePath, lines, [](std::size_t) { return true; }, status);
}

void writeCheckedPlayers(const std::string& archivePath, const std::vector<std::string>& lines,
                         const std::vector<bool>& checked, const ArchiveStatus& status) {
    writePlayers(
        archivePath, lines, [&](std::size_t i) { return i < checked.size() && checked[i]; },
        status);
}

}  // namespace rostrix
