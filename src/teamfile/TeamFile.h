// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// A team file is a list of byte lines with every value in fixed columns, counted from 1.
enum class TeamLineKind {
    TeamTitle,       // "*A": season, team name and the batter column titles
    PitcherSection,  // "*P...": the pitchers follow
    BenchSection,    // "*B...": the bench batters follow
    Placeholder,     // "00    01": stands in for a starter the filter removed
    Player,          // a batter or pitcher line (anything else long enough to hold a name)
    Other            // a short line no reader examines, an empty line for one
};

// The line that keeps the line-up at nine when a starter is taken out.
inline constexpr std::string_view kPlaceholderLine = "00    01";

// Lines shorter than this hold no statistics, so readers pass them through.
inline constexpr std::size_t kStatsStartColumn = 28;

struct ColumnRange {
    std::size_t first;  // 1-based, inclusive
    std::size_t last;
};

inline constexpr ColumnRange kNameColumns{10, 27};
// At bats on a batter line, innings on a pitcher line; "AB"/"Inn" on the title lines.
inline constexpr ColumnRange kAtBatsOrInningsColumns{28, 30};
// Games on both kinds of player line; "Gam" on the title lines.
inline constexpr ColumnRange kGamesColumns{72, 74};

// Fields of the team title line and of player lines.
inline constexpr ColumnRange kYearColumns{11, 14};
inline constexpr ColumnRange kTeamColumns{16, 27};
inline constexpr ColumnRange kPositionColumns{7, 8};
// "AB" on the title lines' " AB", "nn" in "Inn": the player archive's title test.
inline constexpr ColumnRange kTitleMarkColumns{29, 30};

// The characters of the line in the columns; a short line gives what it has.
std::string_view columns(std::string_view line, ColumnRange range);
// The characters from column first to the end of the line.
std::string_view columnsFrom(std::string_view line, std::size_t first);

TeamLineKind teamLineKind(std::string_view line);

// The complete 31-line team the editor shows before any file is loaded.
const std::vector<std::string>& sampleTeamLines();

}  // namespace rostrix
