// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace rostrix {

// A name left out because it is another name of a file already taken.
struct SameFile {
    std::string name;
    std::string sameAs;
};

struct OnePerFile {
    std::vector<std::string> names;  // in the given order, each file once
    std::vector<SameFile> skipped;
};

// The names of folder that are distinct files: a name whose file (device and inode) an
// earlier name already reaches, through a symbolic or a hard link, is skipped. A name that
// cannot be looked at is kept; whoever opens it reports the problem.
OnePerFile onePerFile(const std::string& folder, const std::vector<std::string>& names);

}  // namespace rostrix
