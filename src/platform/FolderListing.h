// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// The names (no folder part) of the files in folder whose name ends in "." + extension,
// the extension compared without regard to case ("27ALNYA.DAT" is a team file too); an
// empty extension takes every file. Folders are left out. The names come in
// case-insensitive order (byte order between names that differ only in case). An empty or
// unreadable folder lists nothing.
std::vector<std::string> listFilesInFolder(const std::string& folder,
                                           std::string_view extension = {});

// Every entry of folder but "." and "..": files of every kind and sub-folders, in the
// same order. An empty or unreadable folder lists nothing.
std::vector<std::string> listFolderEntries(const std::string& folder);

// The file-system bytes of a path that a dialog handed over as text. Names that are not
// valid UTF-8 (a team file from an old Windows disk) reach the program only as they show,
// each undecodable byte a replacement character; every part of the path that does not
// exist as spelled is matched against the names of its folder as they show, and the one
// name that shows so takes its own bytes. A part that matches no name (a new file) or
// several stays as given.
std::string pathOnDisk(const std::string& shownPath);

// A name as it shows: each byte that is not part of valid UTF-8 a replacement character.
std::string shownName(const std::string& name);

// Orders names as the listings do: case-insensitively, then by bytes.
bool folderNameLess(std::string_view a, std::string_view b);

}  // namespace rostrix
