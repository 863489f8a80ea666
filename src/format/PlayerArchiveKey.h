// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "format/TeamLayout.h"

namespace rostrix {

// The player archive files each player's seasons under his name field: a title entry, then
// one entry per year and team. Its keys end in "=" themselves, so a stored line shows two
// equals signs and every value starts at the same character: the titles then stand over
// their figures as in the team file.

// "Year Team        =": the key of the title entry, as wide as a season key.
std::string_view seasonTitleKey();
// " P " and the titles: "P" stands over the position code's second digit.
std::string seasonTitleValue(std::string_view titles);

// "<year> <team>=", the team field with its 12 columns; the second season of one name in
// one run gets " #2" after the team field ("2001 Thistleville #2="), the third " #3".
std::string seasonKey(std::string_view year, std::string_view team, int nth);
// The position code, a blank and the statistics of a player line.
std::string seasonValue(std::string_view line);

// A season key read back: the year, the team without its padding, and which season of the
// name it is (1 without a " #n").
struct SeasonKey {
    int year = 0;
    std::string_view team;
    int nth = 1;
};
// Takes the key with or without its closing "=" and padding; nothing when it holds no
// four-digit year, a blank and a team.
std::optional<SeasonKey> readSeasonKey(std::string_view key);

// Where a team file column stands in a season value: the position code and a blank take
// the place of columns 1 to 27.
inline constexpr std::size_t seasonValueIndex(std::size_t fileColumn) {
    return fileColumn - field::kAtBats.first + field::kPosition.width() + 1;
}

}  // namespace rostrix
