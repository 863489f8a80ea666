// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// What runs that were killed left in the home folder goes at the next start: the program's
// own temporary files of every file there, a kwyx.zip.part no download holds, and the team
// builder's temporary files. A folder, a link, another user's file and a file a running
// writer holds locked stay.
void removeRunLeftovers(const std::string& homeFolder);

}  // namespace rostrix
