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

// Orders names as the listings do: case-insensitively, then by bytes.
bool folderNameLess(std::string_view a, std::string_view b);

}  // namespace rostrix
