// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rostrix {

// The entries of the editor's "Filter Out" list, in list order.
enum class FilterKind { BatterAtBats, BatterGames, PitcherInnings, PitcherGames };

// The kind at a list position; nothing for no selection (-1) or a position past the list.
std::optional<FilterKind> filterKindAt(int listIndex);

// Asked for a starter below the threshold: true removes him, false keeps his line.
using StarterQuestion = std::function<bool(std::size_t lineIndex)>;

// Drops the players whose examined value is below the threshold and returns the lines
// that remain; a starter the user agrees to lose becomes the placeholder line. With no
// kind there is nothing to do and nothing is returned. A line that ends inside the
// examined columns throws Error("Range check error"); a value that is not a whole number
// throws Error("'<value>' is not a valid integer value").
std::optional<std::vector<std::string>> runRosterFilter(const std::vector<std::string>& lines,
                                                        std::optional<FilterKind> kind,
                                                        int threshold,
                                                        const StarterQuestion& removeStarter);

}  // namespace rostrix
