// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "careers/CareerArchive.h"

namespace rostrix {

// Sums over sound seasons: the counts column by column, and for pitchers the earned runs
// the season ERAs stand for, so a combined ERA is weighted by innings.
struct CareerLine {
    CareerRole role = CareerRole::Batter;
    static constexpr std::size_t kMaxColumns = 24;
    std::array<std::int64_t, kMaxColumns> sums{};  // per column of careerColumns(role)
    double earnedRuns = 0;
    int seasons = 0;

    explicit CareerLine(CareerRole r = CareerRole::Batter);
    void add(const SeasonEntry& entry);
    // The same from a stored value, without building cells; false (and nothing added) when
    // the entry is damaged.
    bool addValue(std::string_view key, std::string_view value);

private:
    void addNumbers(const std::int64_t* numbers);  // one per column
};

// The column's figure for the line: a sum, or a rate worked out from the sums; nothing for a
// rate without at bats or innings, and for columns that are no statistic.
std::optional<double> statValue(const CareerLine& line, std::size_t column);
// A figure as the table shows it: counts whole, ERA with two decimals, averages with three.
std::string formatStat(const CareerColumn& column, double value);

// Career totals of the sound seasons; leftOut counts the damaged ones.
CareerLine careerTotals(const std::vector<SeasonEntry>& seasons, int* leftOut = nullptr);

// "2 seasons with a problem left out of the totals"; "" for none.
std::string leftOutNote(int leftOut);

// The texts of a season row and of the totals row, column by column.
std::string seasonCellText(const SeasonEntry& entry, std::size_t column);
std::string totalCellText(const CareerLine& totals, std::size_t column);

// One point per year for the chart: the sound seasons of a year (two teams, say) combined.
struct ChartPoint {
    int year;
    double value;
};
std::vector<ChartPoint> chartPoints(const std::vector<SeasonEntry>& seasons, CareerRole role,
                                    std::size_t column);

// Every career's totals, worked out once, and its leaders by any statistic.
class CareerLeaders {
public:
    explicit CareerLeaders(const CareerArchive& archive);

    struct Row {
        std::size_t career;
        double value;
    };
    // The best count careers of the role by the column; rates count only careers with at
    // least minimum at bats (batters) or innings (pitchers), and at least one.
    std::vector<Row> top(CareerRole role, std::size_t column, std::int64_t minimum,
                         std::size_t count = 25) const;
    const CareerLine& line(std::size_t career) const { return lines_[career]; }

private:
    const CareerArchive& archive_;
    std::vector<CareerLine> lines_;
};

}  // namespace rostrix
