// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamArchive.h"

#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"

namespace rostrix {

void writeTeamArchive(const std::string& archivePath, const std::string& section,
                      const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    ProfileFile archive(archivePath);
    for (std::size_t i = 0; i < lines.size(); ++i)
        archive.write(section, "Line " + std::to_string(i), lines[i]);
    // One save for the whole team, so a failure never leaves half a team behind.
    if (!archive.save())
        throw Error(fileFailureText("Unable to write to %s", archivePath, archive.error()));
}

}  // namespace rostrix
