#pragma once

#include <string>
#include <vector>

namespace rostrix {

// Every entry of a folder but "." and "..": files of every kind and sub-folders, by name
// in case-insensitive order (names equal but for case in byte order). Empty when the
// folder cannot be listed.
std::vector<std::string> folderEntries(const std::string& folder);

// Case-insensitive order of names (ASCII letters), exact bytes breaking ties.
bool namesInOrder(const std::string& a, const std::string& b);

}  // namespace rostrix
