// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/PlayerArchiveKey.h"

#include <algorithm>

#include "platform/AsciiText.h"

namespace rostrix {

namespace {

using field::kSeason;
using field::kTeamName;

// Where the team field ends in a key: after the year and its blank.
constexpr std::size_t kTeamStart = kSeason.width() + 1;
constexpr std::size_t kTeamEnd = kTeamStart + kTeamName.width();
// What a hand-edited key may hold around its team name.
constexpr std::string_view kKeyBlanks = " \t\v\f\r";

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
    if (key.size() <= kTeamStart || !allAsciiDigits(key.substr(0, 4)) || key[4] != ' ')
        return std::nullopt;
    SeasonKey read;
    read.team = trimmedOf(key.substr(kTeamStart), kKeyBlanks);
    // " #2" follows the full team field.
    if (key.size() > kTeamEnd + 2 && key.substr(kTeamEnd, 2) == " #" &&
        allAsciiDigits(key.substr(kTeamEnd + 2))) {
        read.team = trimmedOf(key.substr(kTeamStart, kTeamName.width()), kKeyBlanks);
        read.nth = 0;
        for (const char c : key.substr(kTeamEnd + 2))
            read.nth = std::min(read.nth * 10 + (c - '0'), 1000000);
    }
    if (read.team.empty()) return std::nullopt;
    read.year = (key[0] - '0') * 1000 + (key[1] - '0') * 100 + (key[2] - '0') * 10 + (key[3] - '0');
    return read;
}

}  // namespace rostrix
