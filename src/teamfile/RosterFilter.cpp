// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/RosterFilter.h"

#include <array>
#include <string_view>

#include "format/TeamLayout.h"
#include "platform/Error.h"
#include "platform/Latin1.h"

namespace rostrix {

namespace {

using namespace field;

struct KindRules {
    const TeamField& examined;  // on a batter line; the pitcher line's field shares its columns
    std::array<std::string_view, 2> titleWords;  // keep the title and section lines
    bool benchFiltered;                          // set by "*B" lines and by the first line
    bool pitchersFiltered;                       // set by "*P" lines
    bool asksForStarters;
};

static_assert(kAtBats.first == kInnings.first && kAtBats.last == kInnings.last);

const std::array<KindRules, 4> kRules{{
    {kAtBats, {kInnings.title, kAtBats.title}, true, false, true},
    {kGames, {kGames.title, kGames.title}, true, false, true},
    {kAtBats, {kInnings.title, kAtBats.title}, false, true, false},
    {kGames, {kGames.title, kGames.title}, false, true, false},
}};

// Only the blank (code 32) is squeezed out; a tab stays and makes the value invalid.
std::string nonBlank(std::string_view field) {
    std::string value;
    for (char c : field)
        if (c != ' ') value += c;
    return value;
}

// A decimal whole number with an optional sign; the value is at most three characters,
// so it always fits.
int wholeNumber(const std::string& value) {
    std::size_t i = (!value.empty() && (value[0] == '+' || value[0] == '-')) ? 1 : 0;
    if (i == value.size())
        throw Error("'" + latin1ToUtf8(value) + "' is not a valid integer value");
    int n = 0;
    for (std::size_t k = i; k < value.size(); ++k) {
        if (value[k] < '0' || value[k] > '9')
            throw Error("'" + latin1ToUtf8(value) + "' is not a valid integer value");
        n = n * 10 + (value[k] - '0');
    }
    return value[0] == '-' ? -n : n;
}

}  // namespace

std::optional<FilterKind> filterKindAt(int listIndex) {
    if (listIndex < 0 || listIndex >= static_cast<int>(kRules.size())) return std::nullopt;
    return static_cast<FilterKind>(listIndex);
}

std::optional<std::vector<std::string>> runRosterFilter(const std::vector<std::string>& lines,
                                                        std::optional<FilterKind> kind,
                                                        int threshold,
                                                        const StarterQuestion& removeStarter) {
    if (!kind) return std::nullopt;
    const KindRules& rules = kRules[static_cast<std::size_t>(*kind)];
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    bool filtered = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() < kName.last) {
            kept.push_back(line);
            continue;
        }
        // The title line opens the batters, whatever it starts with.
        const Section opened = i == 0 ? Section::Bench : sectionOpened(line);
        if (opened == Section::Bench) filtered = rules.benchFiltered;
        if (opened == Section::Pitchers) filtered = rules.pitchersFiltered;
        if (line.size() < rules.examined.last) throw Error("Range check error");
        const std::string value = nonBlank(columns(line, rules.examined));
        const bool titleWord = value == rules.titleWords[0] || value == rules.titleWords[1];
        if (titleWord || !filtered || wholeNumber(value) >= threshold) {
            kept.push_back(line);
        } else if (rules.asksForStarters && i < kLineUpLines) {
            kept.push_back(removeStarter(i) ? std::string(kPlaceholderLine) : line);
        }
    }
    return kept;
}

}  // namespace rostrix
