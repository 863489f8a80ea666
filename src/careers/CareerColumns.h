// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

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

// One column of a seasons table. File columns are those of the team file's line, counted
// from 1; a stored season value holds them 25 places further left (the two-digit position
// and a blank take the place of columns 1-27).
struct CareerColumn {
    std::string_view title;
    ColumnKind kind;
    std::uint8_t first = 0;  // file columns, 0 for the key's and derived columns
    std::uint8_t last = 0;
    bool optional = false;  // may be left off the end of the line (second and third group)
    RateKind rate = RateKind::None;
    std::string_view meaning = {};
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

// The value offset of a file column.
inline constexpr std::size_t valueIndex(std::size_t fileColumn) {
    return fileColumn - 25;
}

}  // namespace rostrix
