// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "teamfile/RosterFilter.h"

namespace rostrix {

// Said when the filter button is pressed with nothing chosen in "Filter Out".
inline constexpr const char* kChooseFilterKind =
    "Choose what to filter out in \"Filter Out\" first.";

// The starter a question is about, named below the question's own text: "Vandermolen,
// Chris (line 5): 163 at bats, fewer than 200." Bytes as the team file holds them.
std::string starterInQuestion(const std::string& line, std::size_t lineIndex, FilterKind kind,
                              int threshold);

// What a run of the filter did: "26 players left, 5 removed." A starter that became the
// placeholder line counts as removed.
std::string filterReport(const std::vector<std::string>& before,
                         const std::vector<std::string>& after);

}  // namespace rostrix
