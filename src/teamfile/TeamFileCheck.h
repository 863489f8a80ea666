// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "format/TeamLayout.h"

namespace rostrix {

// One place where a team file breaks the fixed-column layout the game reads.
struct TeamFileProblem {
    std::size_t line;    // 1-based
    std::size_t column;  // 1-based; 0 when the whole line is at fault
    std::string message;
    std::size_t width = 1;  // columns of the field at fault, from column on
};

// Checks a team file line by line: the team title line, nine starters (batter lines, or
// the placeholder of a starter taken out), the pitcher section and its pitcher lines, the
// bench section and its batter lines; every field in its columns, right-aligned without
// leading zeros, the blanks between fields, handedness, position codes, the form of the
// games-at-position groups, and the lengths 78, 80, 86 and 92.
// An empty result means the file is sound.
std::vector<TeamFileProblem> checkTeamFile(const std::vector<std::string>& lines);

// The first problems of a team file, at most as many as were asked for, and how many there
// are in all: a file of a million faulty lines costs no more than its first few hundred.
struct TeamFileCheckResult {
    std::vector<TeamFileProblem> listed;
    std::size_t total = 0;
};
inline constexpr std::size_t kListedProblems = 300;
TeamFileCheckResult checkTeamFile(const std::vector<std::string>& lines, std::size_t listed);

// What is wrong with a field of a title or player line, its text as it stands in the field's
// columns (every kind but Mark), named as the check names it; nothing when it is sound.
struct FieldFault {
    std::size_t offset;  // from the field's first column
    std::string message;
    std::size_t width = 1;
};
std::optional<FieldFault> fieldFault(LineRole role, const TeamField& f, std::string_view text);

// "line 4, column 60: bats must be L or R", one problem to a line.
std::string describeProblems(const std::vector<TeamFileProblem>& problems);

}  // namespace rostrix
