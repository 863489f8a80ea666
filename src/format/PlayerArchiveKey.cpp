// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/PlayerArchiveKey.h"

#include <algorithm>

namespace rostrix {

namespace {

using field::kSeason;
using field::kTeamName;

// Where the team field ends in a key: after the year and its blank.
constexpr std::size_t kTeamStart = kSeason.width() + 1;
constexpr std::size_t kTeamEnd = kTeamStart + kTeamName.width();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view s) {
    constexpr std::string_view blanks = " \t\v\f\r";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string padded(std::string_view text, std::size_t width) {
    std::string out(text);
    out.resize(std::max(width, text.size()), ' ');
    return out;
}

}  // namespace

std::string_view seasonTitleKey() {
    static const std::string key =
        padded("Year", kSeason.width()) + " " + padded("Team", kTeamName.width()) + "=";
    return key;
}

std::string seasonTitleValue(std::string_view titles) {
    return " P " + std::string(titles);
}

std::string seasonKey(std::string_view year, std::string_view team, int nth) {
    std::string key;
    key.reserve(kTeamEnd + 4);
    key.append(year).append(" ").append(team);
    if (nth > 1) key.append(" #").append(std::to_string(nth));
    return key.append("=");
}

std::string seasonValue(std::string_view line) {
    return std::string(columns(line, field::kPosition)) + " " + std::string(statistics(line));
}

std::optional<SeasonKey> readSeasonKey(std::string_view key) {
    if (key.ends_with('=')) key.remove_suffix(1);
    if (key.size() <= kTeamStart || !std::all_of(key.begin(), key.begin() + 4, isDigit) ||
        key[4] != ' ')
        return std::nullopt;
    SeasonKey read;
    read.team = trimmed(key.substr(kTeamStart));
    // " #2" follows the full team field.
    if (key.size() > kTeamEnd + 2 && key.substr(kTeamEnd, 2) == " #" &&
        std::all_of(key.begin() + kTeamEnd + 2, key.end(), isDigit)) {
        read.team = trimmed(key.substr(kTeamStart, kTeamName.width()));
        read.nth = 0;
        for (const char c : key.substr(kTeamEnd + 2))
            read.nth = std::min(read.nth * 10 + (c - '0'), 1000000);
    }
    if (read.team.empty()) return std::nullopt;
    read.year = (key[0] - '0') * 1000 + (key[1] - '0') * 100 + (key[2] - '0') * 10 + (key[3] - '0');
    return read;
}

}  // namespace rostrix
