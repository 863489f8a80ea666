// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace rostrix {

// Asked before a team the team file check finds problems in is filed into an archive:
// "<file> has N problems. File it into <archive> anyway?", with the file-name part of
// teamFile ("The team" when there is none).
std::string fileAnywayQuestion(const std::string& teamFile, std::size_t problems,
                               const std::string& archiveName);

// What a run of an archive command did: "Done!", then where it wrote and how many
// sections ("Filed 1 section into /home/u/archive.dat."), on the same line or below.
std::string filedReport(const std::string& archivePath, std::size_t sections,
                        const char* separator);

// The player sections a run of the player archive writes for these lines: one for each
// player line it files, a name given twice counted once. A missing flag counts as unchecked;
// an empty checked list means every line.
std::size_t playerSectionsFiled(const std::vector<std::string>& lines,
                                const std::vector<bool>& checked);

}  // namespace rostrix
