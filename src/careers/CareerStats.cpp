// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerStats.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace rostrix {

namespace {

// Where the figures the rates need stand; both roles share the first columns' places.
struct Places {
    std::size_t atBatsOrInnings, hits, doubles, triples, homeRuns, walks, era;
};

Places placesOf(CareerRole role, const char* first) {
    const auto at = [role](const char* title) { return columnIndex(role, title); };
    return {at(first),
            at("Hit"),
            at("2B"),
            at("3B"),
            at("HR"),
            at("BB"),
            role == CareerRole::Pitcher ? at("ERA") : static_cast<std::size_t>(-1)};
}

const Places& places(CareerRole role) {
    static const Places batter = placesOf(CareerRole::Batter, "AB");
    static const Places pitcher = placesOf(CareerRole::Pitcher, "Inn");
    return role == CareerRole::Pitcher ? pitcher : batter;
}

std::optional<double> ratio(double numerator, std::int64_t denominator) {
    if (denominator <= 0) return std::nullopt;
    return numerator / static_cast<double>(denominator);
}

bool nameBefore(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(foldCase(x)) < static_cast<unsigned char>(foldCase(y));
    });
}

}  // namespace

CareerLine::CareerLine(CareerRole r) : role(r) {}

void CareerLine::add(const SeasonEntry& entry) {
    addNumbers(entry.numbers.data());
}

void CareerLine::addNumbers(const std::int64_t* numbers) {
    const auto& columns = careerColumns(role);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].kind == ColumnKind::Count && numbers[i] > 0) sums[i] += numbers[i];
    const Places& at = places(role);
    if (role == CareerRole::Pitcher && numbers[at.era] > 0 && numbers[at.atBatsOrInnings] > 0)
        earnedRuns += static_cast<double>(numbers[at.era]) / 100.0 *
                      static_cast<double>(numbers[at.atBatsOrInnings]) / 9.0;
    ++seasons;
}

bool CareerLine::addValue(std::string_view key, std::string_view value) {
    std::array<std::int64_t, kMaxColumns> numbers{};
    if (roleOfValue(value) != role || firstProblem(key, value, numbers.data()) != nullptr)
        return false;
    addNumbers(numbers.data());
    return true;
}

std::optional<double> statValue(const CareerLine& line, std::size_t column) {
    const auto& columns = careerColumns(line.role);
    if (column >= columns.size()) return std::nullopt;
    const CareerColumn& c = columns[column];
    const Places& at = places(line.role);
    const auto sum = [&](std::size_t i) { return static_cast<double>(line.sums[i]); };
    switch (c.kind) {
        case ColumnKind::Count:
            return sum(column);
        case ColumnKind::Era:
            return ratio(9.0 * line.earnedRuns, line.sums[at.atBatsOrInnings]);
        case ColumnKind::Rate:
            break;
        default:
            return std::nullopt;
    }
    const std::int64_t atBats = line.sums[at.atBatsOrInnings];
    switch (c.rate) {
        case RateKind::Average:
            return ratio(sum(at.hits), atBats);
        case RateKind::OnBase:
            return ratio(sum(at.hits) + sum(at.walks), atBats + line.sums[at.walks]);
        case RateKind::Slugging:
            return ratio(
                sum(at.hits) + sum(at.doubles) + 2 * sum(at.triples) + 3 * sum(at.homeRuns),
                atBats);
        case RateKind::HitsWalksPerInning:
            return ratio(sum(at.hits) + sum(at.walks), atBats);
        case RateKind::None:
            break;
    }
    return std::nullopt;
}

std::string formatStat(const CareerColumn& column, double value) {
    char text[32];
    if (column.kind == ColumnKind::Count)
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    else if (column.kind == ColumnKind::Era)
        std::snprintf(text, sizeof text, "%.2f", value);
    else
        std::snprintf(text, sizeof text, "%.3f", value);
    std::string s(text);
    // Averages below one read ".271", as box scores print them.
    if (column.kind == ColumnKind::Rate && column.rate != RateKind::HitsWalksPerInning &&
        s.starts_with("0."))
        s.erase(0, 1);
    return s;
}

CareerLine careerTotals(const std::vector<SeasonEntry>& seasons, int* leftOut) {
    CareerLine line(seasons.empty() ? CareerRole::Batter : seasons.front().role);
    int damaged = 0;
    for (const auto& entry : seasons) {
        if (entry.damaged())
            ++damaged;
        else
            line.add(entry);
    }
    if (leftOut) *leftOut = damaged;
    return line;
}

std::string leftOutNote(int leftOut) {
    if (leftOut <= 0) return {};
    return std::to_string(leftOut) + (leftOut == 1 ? " season" : " seasons") +
           " with a problem left out of the totals";
}

std::string seasonCellText(const SeasonEntry& entry, std::size_t column) {
    const CareerColumn& c = careerColumns(entry.role).at(column);
    if (c.kind == ColumnKind::Rate) {
        if (entry.damaged()) return {};
        CareerLine line(entry.role);
        line.add(entry);
        const auto value = statValue(line, column);
        return value ? formatStat(c, *value) : std::string();
    }
    if (c.kind == ColumnKind::Era && entry.problems[column].empty() && entry.numbers[column] >= 0)
        return formatStat(c, static_cast<double>(entry.numbers[column]) / 100.0);
    return entry.cells[column];
}

std::string totalCellText(const CareerLine& totals, std::size_t column) {
    const CareerColumn& c = careerColumns(totals.role).at(column);
    if (c.kind == ColumnKind::Year) return "Career";
    const auto value = statValue(totals, column);
    return value ? formatStat(c, *value) : std::string();
}

std::vector<ChartPoint> chartPoints(const std::vector<SeasonEntry>& seasons, CareerRole role,
                                    std::size_t column) {
    std::map<int, CareerLine> years;
    for (const auto& entry : seasons) {
        if (entry.damaged() || entry.role != role) continue;
        years.try_emplace(entry.year, role).first->second.add(entry);
    }
    std::vector<ChartPoint> points;
    for (const auto& [year, line] : years)
        if (const auto value = statValue(line, column)) points.push_back({year, *value});
    return points;
}

CareerLeaders::CareerLeaders(const CareerArchive& archive) : archive_(archive) {
    const auto& careers = archive.careers();
    lines_.reserve(careers.size());
    for (std::size_t i = 0; i < careers.size(); ++i) {
        CareerLine& line = lines_.emplace_back(careers[i].role);
        archive.forEachValue(i, [&line](std::string_view key, std::string_view value) {
            line.addValue(key, value);
        });
    }
}

std::vector<CareerLeaders::Row> CareerLeaders::top(CareerRole role, std::size_t column,
                                                   std::int64_t minimum, std::size_t count) const {
    const auto& columns = careerColumns(role);
    if (column >= columns.size() || !isStatistic(columns[column])) return {};
    const bool rate = isRateStatistic(columns[column]);
    const std::size_t volume = places(role).atBatsOrInnings;
    std::vector<Row> rows;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const CareerLine& line = lines_[i];
        if (line.role != role || line.seasons == 0) continue;
        if (rate && line.sums[volume] < std::max<std::int64_t>(minimum, 1)) continue;
        if (const auto value = statValue(line, column)) rows.push_back({i, *value});
    }
    const bool ascending = lowerIsBetter(columns[column]);
    const auto& careers = archive_.careers();
    const auto better = [&](const Row& a, const Row& b) {
        if (a.value != b.value) return ascending ? a.value < b.value : a.value > b.value;
        return nameBefore(careers[a.career].name, careers[b.career].name);
    };
    const std::size_t n = std::min(count, rows.size());
    std::partial_sort(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n), rows.end(),
                      better);
    rows.resize(n);
    return rows;
}

}  // namespace rostrix
