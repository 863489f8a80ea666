// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// The team file's layout as data. A team file is a list of byte lines with every value in
// fixed columns, counted from 1; the game reads it by column, so every reader and writer of
// team lines takes its columns from here.

struct ColumnRange {
    std::size_t first;  // 1-based, inclusive
    std::size_t last;
};

enum class FieldKind : std::uint8_t {
    Mark,    // fixed text that says what the line is: "*A", a section word, column titles
    Code,    // digits filling the field, zero-padded: the two digits, position code, season
    Flag,    // a letter or a blank
    Letter,  // one letter: the title letter, bats or throws
    Name,    // text left-aligned and padded with blanks
    Count,   // a whole number right-aligned without leading zeros
    Group,   // games at a position: "NNN-P"
};

struct TeamField {
    std::uint8_t first;  // 1-based, inclusive
    std::uint8_t last;
    FieldKind kind;
    std::string_view name;   // as the checker and the editor name it: "at bats"
    std::string_view title;  // the column title the file puts over it: "AB"; "" for none
    bool optional = false;   // may be left off the end of the line (second and third group)

    constexpr std::size_t width() const { return std::size_t{last} - first + 1; }
    constexpr ColumnRange range() const { return {first, last}; }
    constexpr bool operator==(const TeamField&) const = default;
};

// What the team title line starts with.
inline constexpr std::string_view kTeamTitleStart = "*A";

// Every field, by the line it belongs to.
namespace field {
// The team title line.
inline constexpr TeamField kTitleMark{1, 2, FieldKind::Mark, "title mark", ""};
inline constexpr TeamField kLetter{10, 10, FieldKind::Letter, "letter", ""};
inline constexpr TeamField kSeason{11, 14, FieldKind::Code, "season", ""};
inline constexpr TeamField kTeamName{16, 27, FieldKind::Name, "team name", ""};
// The title line and both section lines: the titles of the lines below them.
inline constexpr TeamField kTitles{28, 92, FieldKind::Mark, "column titles", ""};
inline constexpr TeamField kSectionWord{1, 27, FieldKind::Mark, "section word", ""};
// Columns 1-27 of every player line.
inline constexpr TeamField kDigits{1, 2, FieldKind::Code, "digits", ""};
inline constexpr TeamField kFlag{5, 5, FieldKind::Flag, "flag", ""};
inline constexpr TeamField kPosition{7, 8, FieldKind::Code, "position code", ""};
inline constexpr TeamField kName{10, 27, FieldKind::Name, "name", ""};
// A batter line.
inline constexpr TeamField kAtBats{28, 30, FieldKind::Count, "at bats", "AB"};
inline constexpr TeamField kHits{32, 34, FieldKind::Count, "hits", "Hit"};
inline constexpr TeamField kDoubles{36, 38, FieldKind::Count, "doubles", "2B"};
inline constexpr TeamField kTriples{40, 42, FieldKind::Count, "triples", "3B"};
inline constexpr TeamField kHomeRuns{44, 46, FieldKind::Count, "home runs", "HR"};
inline constexpr TeamField kWalks{48, 50, FieldKind::Count, "walks", "BB"};
inline constexpr TeamField kStrikeOuts{52, 54, FieldKind::Count, "strike-outs", "SO"};
inline constexpr TeamField kRunsBattedIn{56, 58, FieldKind::Count, "runs batted in", "RBI"};
inline constexpr TeamField kBats{60, 60, FieldKind::Letter, "bats", "B"};
inline constexpr TeamField kErrors{62, 64, FieldKind::Count, "errors", "ERR"};
inline constexpr TeamField kStolenBases{66, 67, FieldKind::Count, "stolen bases", "SB"};
inline constexpr TeamField kCaughtStealing{69, 70, FieldKind::Count, "caught stealing", "CS"};
inline constexpr TeamField kGames{72, 74, FieldKind::Count, "games", "Gam"};
inline constexpr TeamField kGroup1{76, 80, FieldKind::Group, "games-at-position group", "Gam-P"};
inline constexpr TeamField kGroup2{82,      86,  FieldKind::Group, "games-at-position group",
                                   "Gam-P", true};
inline constexpr TeamField kGroup3{88,      92,  FieldKind::Group, "games-at-position group",
                                   "Gam-P", true};
// A pitcher line, where it differs.
inline constexpr TeamField kInnings{28, 30, FieldKind::Count, "innings", "Inn"};
inline constexpr TeamField kEarnedRunAverage{56, 58, FieldKind::Count, "earned-run average", "ERA"};
inline constexpr TeamField kThrows{60, 60, FieldKind::Letter, "throws", "T"};
inline constexpr TeamField kWins{62, 64, FieldKind::Count, "wins", "W"};
inline constexpr TeamField kLosses{66, 67, FieldKind::Count, "losses", "L"};
inline constexpr TeamField kSaves{69, 70, FieldKind::Count, "saves", "S"};
inline constexpr TeamField kGamesStarted{76, 78, FieldKind::Count, "games started", "St"};
}  // namespace field

// What a line is by its place in the file.
enum class LineRole : std::uint8_t { Title, Section, Batter, Pitcher };

// The section a line opens: "*P" the pitchers, "*B" the bench.
enum class Section : std::uint8_t { None, Pitchers, Bench };
Section sectionOpened(std::string_view line);

// The one line classifier. The first line is the team title; any other line opening with
// "*" is a section line; a line under the pitcher section is a pitcher, every other line a
// batter (the starters, the bench and the placeholder among them). above is the section
// the nearest section line above opened.
LineRole lineRole(bool firstLine, std::string_view line, Section above);

// Follows the sections down a file, line by line.
class LineRoles {
public:
    LineRole next(std::string_view line);
    // The section the nearest section line so far opened.
    Section above() const { return above_; }

private:
    bool first_ = true;
    Section above_ = Section::None;
};

// A batter or pitcher line long enough to hold a name: the player lines a team counts (the
// placeholder and short lines are none).
bool holdsPlayer(LineRole role, std::string_view line);

// Every field a line of the role may hold, left to right.
std::span<const TeamField> fieldsOf(LineRole role);

// The field holding the column, or nullptr for a blank between fields or a column past the
// line's end.
const TeamField* fieldAt(LineRole role, std::size_t length, std::size_t column);

// Where Tab goes from the column: the start of the next field the line holds, or the end of
// the line (length + 1) past its last field. Shift+Tab: the start of the field before.
std::size_t nextFieldColumn(LineRole role, std::size_t length, std::size_t column);
std::size_t previousFieldColumn(LineRole role, std::size_t length, std::size_t column);

// The characters of the line in the columns; a short line gives what it has.
std::string_view columns(std::string_view line, ColumnRange range);
// A field's columns (a template, so that a braced range is never taken for a field).
template <class Field>
requires std::same_as<Field, TeamField> std::string_view columns(std::string_view line,
                                                                 const Field& f) {
    return columns(line, f.range());
}
// The characters from column first to the end of the line.
std::string_view columnsFrom(std::string_view line, std::size_t first);
// A player line's statistics: everything from the first count on.
inline std::string_view statistics(std::string_view line) {
    return columnsFrom(line, field::kAtBats.first);
}

// The column titles the title line and the two section lines carry from column 28 on,
// each title right-aligned over its field.
std::string_view batterTitles();
std::string_view pitcherTitles();
// The longest line of each kind: a pitcher's, and a batter's with all three groups.
inline constexpr std::size_t kPitcherLineLength = field::kGamesStarted.last;
inline constexpr std::size_t kBatterLineLength = field::kGroup3.last;

// The title lines carry a title where a player line has its first count: " AB" on the team
// title and bench lines, "Inn" on the pitcher section line. The game and the names utility
// know a title line by that mark exactly as it stands.
bool readsAsTitleLine(std::string_view line);
// The player archive reads only the mark's last two columns, in any case ("AB", or "NN"
// from "Inn").
bool readsAsTitleLineInAnyCase(std::string_view line);

// The line that keeps the line-up at nine when a starter is taken out.
inline constexpr std::string_view kPlaceholderLine = "00    01";
// The title line and the nine starters.
inline constexpr std::size_t kLineUpLines = 10;

// A games-at-position group: three zero-padded digits of games, a hyphen and the position,
// a digit or "D" for the designated hitter ("062-8", "011-D").
struct PositionGames {
    int games;
    char position;
};
std::optional<PositionGames> readGroup(std::string_view text);

// The complete 31-line team the editor shows before any file is loaded.
const std::vector<std::string>& sampleTeamLines();

}  // namespace rostrix
