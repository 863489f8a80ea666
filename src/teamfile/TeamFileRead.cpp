// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamFileRead.h"

#include <sys/stat.h>

#include "platform/LineFile.h"

namespace rostrix {

std::optional<std::vector<std::string>> readTeamFile(const std::string& path, int* error) {
    auto bytes = readFileBytesUpTo(path, kMaxTeamFileBytes, error);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

std::string teamFileOpenFailure(const std::string& path, int error) {
    if (error != kFileTooLarge) return fileFailureText("Cannot open file %s", path, error);
    struct stat info {};
    const long long size = ::stat(path.c_str(), &info) == 0 ? info.st_size : 0;
    return "Cannot open file " + path + ": it holds " + std::to_string(size) +
           " bytes, far more than any team file; at most " + std::to_string(kMaxTeamFileBytes) +
           " bytes are opened";
}

}  // namespace rostrix
