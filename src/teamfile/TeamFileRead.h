// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rostrix {

// A team holds a few dozen lines of at most 92 columns, some 5 KB; a file two hundred
// times that is no team file, and opening it would only fill the editor's memory and make
// every key in it slow. Series files are held to the same size.
inline constexpr long long kMaxTeamFileBytes = 1 << 20;

// Why a file could not be opened as a team file: an errno value, one of the reasons of
// the file rule (LineFile.h), or kTeamFileTooLarge.
inline constexpr int kTeamFileTooLarge = 0x20000;

// The lines of the team file at path, read the way the editor reads one; nothing when it
// cannot be read, with *error saying why. A file larger than kMaxTeamFileBytes is refused
// before a byte of it is read.
std::optional<std::vector<std::string>> readTeamFile(const std::string& path, int* error);

// What the user is told when the team file at path could not be opened: "Cannot open file
// <path>" and the reason, the size of a file too large to be a team file included.
std::string teamFileOpenFailure(const std::string& path, int error);

}  // namespace rostrix
