// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerColumns.h"

namespace rostrix {

namespace {

using K = ColumnKind;

const std::vector<CareerColumn>& batterColumns() {
    static const std::vector<CareerColumn> columns{
        {"Year", K::Year, 0, 0, false, RateKind::None, "season"},
        {"Team", K::Team, 0, 0, false, RateKind::None, "team"},
        {"Pos", K::Position, 0, 0, false, RateKind::None, "position code"},
        {"AB", K::Count, 28, 30, false, RateKind::None, "at bats"},
        {"Hit", K::Count, 32, 34, false, RateKind::None, "hits"},
        {"2B", K::Count, 36, 38, false, RateKind::None, "doubles"},
        {"3B", K::Count, 40, 42, false, RateKind::None, "triples"},
        {"HR", K::Count, 44, 46, false, RateKind::None, "home runs"},
        {"BB", K::Count, 48, 50, false, RateKind::None, "walks"},
        {"SO", K::Count, 52, 54, false, RateKind::None, "strike-outs"},
        {"RBI", K::Count, 56, 58, false, RateKind::None, "runs batted in"},
        {"B", K::Letter, 60, 60, false, RateKind::None, "bats"},
        {"ERR", K::Count, 62, 64, false, RateKind::None, "errors"},
        {"SB", K::Count, 66, 67, false, RateKind::None, "stolen bases"},
        {"CS", K::Count, 69, 70, false, RateKind::None, "caught stealing"},
        {"Gam", K::Count, 72, 74, false, RateKind::None, "games"},
        {"Gam-P", K::Group, 76, 80, false, RateKind::None, "games at a position"},
        {"Gam-P", K::Group, 82, 86, true, RateKind::None, "games at a second position"},
        {"Gam-P", K::Group, 88, 92, true, RateKind::None, "games at a third position"},
        {"AVG", K::Rate, 0, 0, false, RateKind::Average, "batting average: Hit / AB"},
        {"OBP", K::Rate, 0, 0, false, RateKind::OnBase, "on-base: (Hit + BB) / (AB + BB)"},
        {"SLG", K::Rate, 0, 0, false, RateKind::Slugging,
         "slugging: (Hit + 2B + 2 x 3B + 3 x HR) / AB"},
    };
    return columns;
}

const std::vector<CareerColumn>& pitcherColumns() {
    static const std::vector<CareerColumn> columns{
        {"Year", K::Year, 0, 0, false, RateKind::None, "season"},
        {"Team", K::Team, 0, 0, false, RateKind::None, "team"},
        {"Pos", K::Position, 0, 0, false, RateKind::None, "position code"},
        {"Inn", K::Count, 28, 30, false, RateKind::None, "innings pitched"},
        {"Hit", K::Count, 32, 34, false, RateKind::None, "hits allowed"},
        {"2B", K::Count, 36, 38, false, RateKind::None, "doubles allowed"},
        {"3B", K::Count, 40, 42, false, RateKind::None, "triples allowed"},
        {"HR", K::Count, 44, 46, false, RateKind::None, "home runs allowed"},
        {"BB", K::Count, 48, 50, false, RateKind::None, "walks"},
        {"SO", K::Count, 52, 54, false, RateKind::None, "strike-outs"},
        {"ERA", K::Era, 56, 58, false, RateKind::None,
         "earned-run average; over seasons weighted by innings"},
        {"T", K::Letter, 60, 60, false, RateKind::None, "throws"},
        {"W", K::Count, 62, 64, false, RateKind::None, "wins"},
        {"L", K::Count, 66, 67, false, RateKind::None, "losses"},
        {"S", K::Count, 69, 70, false, RateKind::None, "saves"},
        {"Gam", K::Count, 72, 74, false, RateKind::None, "games"},
        {"St", K::Count, 76, 78, false, RateKind::None, "games started"},
        {"WHIP", K::Rate, 0, 0, false, RateKind::HitsWalksPerInning,
         "hits plus walks per inning: (Hit + BB) / Inn"},
    };
    return columns;
}

}  // namespace

const std::vector<CareerColumn>& careerColumns(CareerRole role) {
    return role == CareerRole::Pitcher ? pitcherColumns() : batterColumns();
}

std::size_t columnIndex(CareerRole role, std::string_view title) {
    const auto& columns = careerColumns(role);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].title == title) return i;
    return static_cast<std::size_t>(-1);
}

bool isStatistic(const CareerColumn& column) {
    return column.kind == K::Count || column.kind == K::Era || column.kind == K::Rate;
}

bool isRateStatistic(const CareerColumn& column) {
    return column.kind == K::Era || column.kind == K::Rate;
}

bool lowerIsBetter(const CareerColumn& column) {
    return column.kind == K::Era || column.rate == RateKind::HitsWalksPerInning;
}

}  // namespace rostrix
