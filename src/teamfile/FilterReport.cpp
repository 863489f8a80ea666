// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/FilterReport.h"

#include "format/TeamLayout.h"

namespace rostrix {

namespace {

std::size_t players(const std::vector<std::string>& lines) {
    LineRoles roles;
    std::size_t n = 0;
    for (const std::string& line : lines) n += holdsPlayer(roles.next(line), line) ? 1 : 0;
    return n;
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
    return trimmed(columns(line, field::kName)) + " (line " + std::to_string(lineIndex + 1) +
           "): " + trimmed(columns(line, games ? field::kGames : field::kAtBats)) + what +
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
