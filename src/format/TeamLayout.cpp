// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TeamLayout.h"

#include "platform/AsciiText.h"

namespace rostrix {

namespace {

using namespace field;

constexpr std::array<TeamField, 5> kTitleFields{kTitleMark, kLetter, kSeason, kTeamName, kTitles};
constexpr std::array<TeamField, 2> kSectionFields{kSectionWord, kTitles};
constexpr std::array<TeamField, 20> kBatterFields{
    kDigits,      kFlag,           kPosition, kName,       kAtBats,       kHits,  kDoubles,
    kTriples,     kHomeRuns,       kWalks,    kStrikeOuts, kRunsBattedIn, kBats,  kErrors,
    kStolenBases, kCaughtStealing, kGames,    kGroup1,     kGroup2,       kGroup3};
constexpr std::array<TeamField, 18> kPitcherFields{
    kDigits,  kFlag,    kPosition, kName,  kInnings,    kHits,
    kDoubles, kTriples, kHomeRuns, kWalks, kStrikeOuts, kEarnedRunAverage,
    kThrows,  kWins,    kLosses,   kSaves, kGames,      kGamesStarted};

// Each title right-aligned over its field, blanks between: what the file's title lines
// carry from column 28 on.
std::string titlesOf(std::span<const TeamField> fields) {
    std::string line;
    for (const TeamField& f : fields) {
        if (f.title.empty()) continue;
        line.resize(f.last - kAtBats.first + 1, ' ');
        line.replace(line.size() - f.title.size(), f.title.size(), f.title);
    }
    return line;
}

}  // namespace

Section sectionOpened(std::string_view line) {
    if (line.starts_with("*P")) return Section::Pitchers;
    if (line.starts_with("*B")) return Section::Bench;
    return Section::None;
}

LineRole lineRole(bool firstLine, std::string_view line, Section above) {
    if (firstLine) return LineRole::Title;
    if (line.starts_with('*')) return LineRole::Section;
    return above == Section::Pitchers ? LineRole::Pitcher : LineRole::Batter;
}

LineRole LineRoles::next(std::string_view line) {
    const LineRole role = lineRole(first_, line, above_);
    first_ = false;
    if (role == LineRole::Section) above_ = sectionOpened(line);
    return role;
}

bool holdsPlayer(LineRole role, std::string_view line) {
    return (role == LineRole::Batter || role == LineRole::Pitcher) && line.size() > kName.last;
}

std::span<const TeamField> fieldsOf(LineRole role) {
    switch (role) {
        case LineRole::Title:
            return kTitleFields;
        case LineRole::Section:
            return kSectionFields;
        case LineRole::Pitcher:
            return kPitcherFields;
        case LineRole::Batter:
            break;
    }
    return kBatterFields;
}

const TeamField* fieldAt(LineRole role, std::size_t length, std::size_t column) {
    if (column > length) return nullptr;
    for (const TeamField& f : fieldsOf(role))
        if (f.first <= column && column <= f.last) return &f;
    return nullptr;
}

std::size_t nextFieldColumn(LineRole role, std::size_t length, std::size_t column) {
    for (const TeamField& f : fieldsOf(role))
        if (f.first > column && f.first <= length) return f.first;
    return length + 1;
}

std::size_t previousFieldColumn(LineRole role, std::size_t length, std::size_t column) {
    std::size_t before = 1;
    for (const TeamField& f : fieldsOf(role))
        if (f.first < column && f.first <= length) before = f.first;
    return before;
}

std::string_view columns(std::string_view line, ColumnRange range) {
    if (line.size() < range.first) return {};
    return line.substr(range.first - 1, range.last - range.first + 1);
}

std::string_view columnsFrom(std::string_view line, std::size_t first) {
    if (line.size() < first) return {};
    return line.substr(first - 1);
}

std::string_view batterTitles() {
    static const std::string titles = titlesOf(kBatterFields);
    return titles;
}

std::string_view pitcherTitles() {
    static const std::string titles = titlesOf(kPitcherFields);
    return titles;
}

bool readsAsTitleLine(std::string_view line) {
    const std::string_view mark = columns(line, kAtBats);
    return mark.size() == kAtBats.width() && (mark == batterTitles().substr(0, mark.size()) ||
                                              mark == pitcherTitles().substr(0, mark.size()));
}

bool readsAsTitleLineInAnyCase(std::string_view line) {
    const std::string_view mark = columns(line, {kAtBats.first + 1u, kAtBats.last});
    if (mark.size() != 2) return false;
    const char a = asciiUpper(mark[0]);
    const char b = asciiUpper(mark[1]);
    for (const std::string_view titles : {batterTitles(), pitcherTitles()})
        if (a == asciiUpper(titles[1]) && b == asciiUpper(titles[2])) return true;
    return false;
}

std::optional<PositionGames> readGroup(std::string_view text) {
    if (text.size() != kGroup1.width() || !isAsciiDigit(text[0]) || !isAsciiDigit(text[1]) ||
        !isAsciiDigit(text[2]) || text[3] != '-' || !(isAsciiDigit(text[4]) || text[4] == 'D'))
        return std::nullopt;
    return PositionGames{(text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0'), text[4]};
}

}  // namespace rostrix
