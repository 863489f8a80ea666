// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace rostrix {

// A team holds a few dozen lines of at most 92 columns, some 5 KB; a file two hundred
// times that is no team file, and opening it would only fill the editor's memory and make
// every key in it slow. Series files are held to the same size.
inline constexpr std::size_t kMaxTeamFileBytes = 1 << 20;

// The lines of the team file at path, read the way the editor reads one; nothing when it
// cannot be read, with *error saying why (an errno value or a reason of LineFile.h). A file
// larger than kMaxTeamFileBytes is refused with kFileTooLarge before a byte of it is read.
std::optional<std::vector<std::string>> readTeamFile(const std::string& path, int* error);

// What the user is told when the team file at path could not be opened: "Cannot open file
// <path>" and the reason, the size of a file too large to be a team file included.
std::string teamFileOpenFailure(const std::string& path, int error);

}  // namespace rostrix
