// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "format/TeamLayout.h"

namespace rostrix {

// A career is a player's seasons of one kind: batter lines and pitcher lines carry
// different statistics under the same columns.
enum class CareerRole : std::uint8_t { Batter, Pitcher };

enum class ColumnKind : std::uint8_t {
    Year,      // from the entry's key
    Team,      // from the entry's key
    Position,  // the two-digit position code that starts the value
    Count,     // a whole number that adds up over seasons
    Era,       // earned-run average in hundredths, weighted by innings when combined
    Letter,    // bats or throws
    Group,     // a games-at-position group such as "062-8"
    Rate       // worked out from the counts, never stored
};

// The statistics derived from counts.
enum class RateKind : std::uint8_t { None, Average, OnBase, Slugging, HitsWalksPerInning };

// One column of a seasons table: a field of the team file's line, as a season value holds
// it, or a column of the entry's key or one worked out from the counts.
struct CareerColumn {
    std::string_view title;  // the file's own column title for a field
    ColumnKind kind;
    const TeamField* field = nullptr;  // nullptr for the key's and derived columns
    RateKind rate = RateKind::None;
    std::string_view meaning = {};  // the header's tool tip
};

// Year, team, position, every statistic of the team file's line with its title there,
// then the derived rates.
const std::vector<CareerColumn>& careerColumns(CareerRole role);

// The index of the column titled title (the first of equal titles), or npos.
std::size_t columnIndex(CareerRole role, std::string_view title);

// Columns that have a figure per season and a career figure: counts, ERA and rates.
bool isStatistic(const CareerColumn& column);
bool isRateStatistic(const CareerColumn& column);
// Lower is better for ERA and hits plus walks per inning.
bool lowerIsBetter(const CareerColumn& column);

}  // namespace rostrix
