// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamRecovery.h"

#include <sys/stat.h>

#include <string_view>

#include "platform/FolderListing.h"
#include "platform/LineFile.h"
#include "platform/PathParts.h"

namespace rostrix {

namespace {

constexpr std::string_view kPrefix = "recovered-";

}  // namespace

std::string writeRecoveryFile(const std::string& homeFolder, const std::string& teamFile,
                              const std::vector<std::string>& lines, int* error) {
    const std::string name = fileNamePart(teamFile);
    for (int n = 1;; ++n) {
        const std::string path = homeFolder + "/" + std::string(kPrefix) +
                                 (n == 1 ? std::string() : std::to_string(n) + "-") + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) continue;
        return writeLinesAtomic(path, lines, error) ? path : std::string();
    }
}

std::vector<std::string> recoveryFiles(const std::string& homeFolder) {
    std::vector<std::string> paths;
    for (const std::string& name : listFilesInFolder(homeFolder)) {
        const std::string path = homeFolder + "/" + name;
        if (name.starts_with(kPrefix) && notAFileReason(path) == 0) paths.push_back(path);
    }
    return paths;
}

std::string recoveryNotice(const std::vector<std::string>& paths) {
    std::string text =
        "When Rostrix was last made to end (at a log-out or by a signal), the team file "
        "editor held text that was not saved. It was kept in:";
    for (const std::string& path : paths) text += "\n" + path;
    return text +
           "\nOpen it in the editor to save it where it belongs; this message comes at every "
           "start until the file is renamed or deleted.";
}

}  // namespace rostrix
