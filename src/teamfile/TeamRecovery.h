// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace rostrix {

// Where the editor's unsaved text goes when the program is made to end (a log-out, a
// terminal closed) with nobody to ask: a file of its own in the home folder, never the team
// file, named "recovered-" and the team file's name ("recovered-27ALnya.dat"), with a
// number before the name when that is taken ("recovered-2-27ALnya.dat"), so an earlier
// recovery is never replaced. Returns its path, or "" with *error set when it could not be
// written.
std::string writeRecoveryFile(const std::string& homeFolder, const std::string& teamFile,
                              const std::vector<std::string>& lines, int* error);

// The recovery files in the home folder, in the order the folder listings use.
std::vector<std::string> recoveryFiles(const std::string& homeFolder);

// What a start tells the user about them.
std::string recoveryNotice(const std::vector<std::string>& paths);

}  // namespace rostrix
