// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/PlayerArchive.h"

#include <map>

#include "format/PlayerArchiveKey.h"
#include "format/TeamLayout.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"

namespace rostrix {

namespace {

// Lines this long or shorter hold no player (the placeholder "00    01" among them).
constexpr std::size_t kShortLine = 75;

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
    const auto keyFor = [&](std::string_view name) {
        std::string folded = upper(std::string(name));
        while (!folded.empty() && (folded.back() == ' ' || folded.back() == '\t'))
            folded.pop_back();
        return seasonKey(year, team, ++met[folded]);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        status("Writing data...");
        const std::string& line = lines[i];
        if (line.size() <= kShortLine) continue;
        if (i == 0) {
            year = columns(line, field::kSeason);
            team = columns(line, field::kTeamName);
            titles = columnsFrom(line, field::kTitles.first);
        }
        if (!archivesAsPlayer(line) || !wanted(i)) continue;
        const std::string_view name = columns(line, field::kName);
        archive.write(name, seasonTitleKey(), seasonTitleValue(titles));
        archive.write(name, keyFor(name), seasonValue(line));
    }
    // One save for the whole run: a failure leaves the archive as it was.
    if (!archive.save())
        throw Error(fileFailureText("Unable to write to %s", archivePath, archive.error()));
    status("Done!");
}

}  // namespace

bool archivesAsPlayer(std::string_view line) {
    return line.size() > kShortLine && !readsAsTitleLineInAnyCase(line);
}

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
