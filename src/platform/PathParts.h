// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace rostrix {

// Parts of a path, split at its last "/"; paths are the file system's bytes.

// The name after the last "/": the whole path when it has none.
std::string fileNamePart(std::string_view path);
// The folder without its trailing "/": "" for a bare name, "/" for a file in the root.
std::string folderOf(std::string_view path);
// The folder with its trailing "/", ready to have a name put after it: "" for a bare name.
std::string folderWithSlash(std::string_view path);

}  // namespace rostrix
