// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace rostrix {

// Files a team's lines into the team archive: the section named section (the editor's
// current file) gets the keys "Line 0", "Line 1", ... with each line as its value. An
// empty list writes nothing. Throws Error("Unable to write to <archivePath>") when the
// archive cannot be written; the archive is then exactly as it was.
void writeTeamArchive(const std::string& archivePath, const std::string& section,
                      const std::vector<std::string>& lines);

}  // namespace rostrix
