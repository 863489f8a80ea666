// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/ArchiveReport.h"

#include <filesystem>
#include <set>

#include "format/TeamLayout.h"
#include "teamfile/PlayerArchive.h"

namespace rostrix {

std::string fileAnywayQuestion(const std::string& teamFile, std::size_t problems,
                               const std::string& archiveName) {
    std::string name = std::filesystem::path(teamFile).filename().string();
    if (name.empty()) name = "The team";
    return name + " has " + std::to_string(problems) + (problems == 1 ? " problem" : " problems") +
           ". File it into " + archiveName + " anyway?";
}

std::string filedReport(const std::string& archivePath, std::size_t sections,
                        const char* separator) {
    return std::string("Done!") + separator + "Filed " + std::to_string(sections) +
           (sections == 1 ? " section" : " sections") + " into " + archivePath + ".";
}

std::size_t playerSectionsFiled(const std::vector<std::string>& lines,
                                const std::vector<bool>& checked) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        // Title, bench-title and short lines hold no player.
        if (!archivesAsPlayer(line)) continue;
        if (!checked.empty() && (i >= checked.size() || !checked[i])) continue;
        std::string name(columns(line, field::kName));
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        names.insert(name);
    }
    return names.size();
}

}  // namespace rostrix
