// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerColumns.h"

namespace rostrix {

namespace {

using K = ColumnKind;
using namespace field;

// A field of the team file's line, titled as the file titles it; meaning says more than
// the field's own name where the Careers window wants it to.
CareerColumn fileColumn(const TeamField& f, K kind, std::string_view meaning = {}) {
    return {f.title, kind, &f, RateKind::None, meaning.empty() ? f.name : meaning};
}

const std::vector<CareerColumn>& batterColumns() {
    static const std::vector<CareerColumn> columns{
        {"Year", K::Year, nullptr, RateKind::None, "season"},
        {"Team", K::Team, nullptr, RateKind::None, "team"},
        {"Pos", K::Position, nullptr, RateKind::None, "position code"},
        fileColumn(kAtBats, K::Count),
        fileColumn(kHits, K::Count),
        fileColumn(kDoubles, K::Count),
        fileColumn(kTriples, K::Count),
        fileColumn(kHomeRuns, K::Count),
        fileColumn(kWalks, K::Count),
        fileColumn(kStrikeOuts, K::Count),
        fileColumn(kRunsBattedIn, K::Count),
        fileColumn(kBats, K::Letter),
        fileColumn(kErrors, K::Count),
        fileColumn(kStolenBases, K::Count),
        fileColumn(kCaughtStealing, K::Count),
        fileColumn(kGames, K::Count),
        fileColumn(kGroup1, K::Group, "games at a position"),
        fileColumn(kGroup2, K::Group, "games at a second position"),
        fileColumn(kGroup3, K::Group, "games at a third position"),
        {"AVG", K::Rate, nullptr, RateKind::Average, "batting average: Hit / AB"},
        {"OBP", K::Rate, nullptr, RateKind::OnBase, "on-base: (Hit + BB) / (AB + BB)"},
        {"SLG", K::Rate, nullptr, RateKind::Slugging,
         "slugging: (Hit + 2B + 2 x 3B + 3 x HR) / AB"},
    };
    return columns;
}

const std::vector<CareerColumn>& pitcherColumns() {
    static const std::vector<CareerColumn> columns{
        {"Year", K::Year, nullptr, RateKind::None, "season"},
        {"Team", K::Team, nullptr, RateKind::None, "team"},
        {"Pos", K::Position, nullptr, RateKind::None, "position code"},
        fileColumn(kInnings, K::Count, "innings pitched"),
        fileColumn(kHits, K::Count, "hits allowed"),
        fileColumn(kDoubles, K::Count, "doubles allowed"),
        fileColumn(kTriples, K::Count, "triples allowed"),
        fileColumn(kHomeRuns, K::Count, "home runs allowed"),
        fileColumn(kWalks, K::Count),
        fileColumn(kStrikeOuts, K::Count),
        fileColumn(kEarnedRunAverage, K::Era,
                   "earned-run average; over seasons weighted by innings"),
        fileColumn(kThrows, K::Letter),
        fileColumn(kWins, K::Count),
        fileColumn(kLosses, K::Count),
        fileColumn(kSaves, K::Count),
        fileColumn(kGames, K::Count),
        fileColumn(kGamesStarted, K::Count),
        {"WHIP", K::Rate, nullptr, RateKind::HitsWalksPerInning,
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
