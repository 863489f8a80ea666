// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/LineFile.h"

namespace rostrix {

std::optional<std::vector<std::string>> readTeamFile(const std::string& path, int* error) {
    int why = 0;
    const int fd = openRegularFile(path, O_RDONLY, &why);
    if (fd >= 0) {
        struct stat info {};
        const bool tooLarge = ::fstat(fd, &info) == 0 && info.st_size > kMaxTeamFileBytes;
        ::close(fd);
        if (!tooLarge) return readLines(path, error);
        why = kTeamFileTooLarge;
    }
    if (error) *error = why;
    return std::nullopt;
}

std::string teamFileOpenFailure(const std::string& path, int error) {
    if (error != kTeamFileTooLarge) return fileFailureText("Cannot open file %s", path, error);
    struct stat info {};
    const long long size = ::stat(path.c_str(), &info) == 0 ? info.st_size : 0;
    return "Cannot open file " + path + ": it holds " + std::to_string(size) +
           " bytes, far more than any team file; at most " + std::to_string(kMaxTeamFileBytes) +
           " bytes are opened";
}

}  // namespace rostrix
