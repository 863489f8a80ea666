// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/FilterReport.h"

#include <algorithm>

#include "teamfile/TeamFile.h"

namespace rostrix {

namespace {

std::size_t players(const std::vector<std::string>& lines) {
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](const auto& l) {
        return teamLineKind(l) == TeamLineKind::Player;
    }));
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string starterInQuestion(const std::string& line, std::size_t lineIndex, FilterKind kind,
                              int threshold) {
    const bool games = kind == FilterKind::BatterGames || kind == FilterKind::PitcherGames;
    const char* what = games                                ? " games"
                       : kind == FilterKind::PitcherInnings ? " innings"
                                                            : " at bats";
    return trimmed(columns(line, kNameColumns)) + " (line " + std::to_string(lineIndex + 1) +
           "): " + trimmed(columns(line, games ? kGamesColumns : kAtBatsOrInningsColumns)) + what +
           ", fewer than " + std::to_string(threshold) + ".";
}

std::string filterReport(const std::vector<std::string>& before,
                         const std::vector<std::string>& after) {
    const std::size_t left = players(after);
    const std::size_t had = players(before);
    const std::size_t removed = had > left ? had - left : 0;
    return std::to_string(left) + (left == 1 ? " player" : " players") + " left, " +
           std::to_string(removed) + " removed.";
}

}  // namespace rostrix
