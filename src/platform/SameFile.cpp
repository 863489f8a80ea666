// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SameFile.h"

#include <sys/stat.h>

#include <map>
#include <utility>

namespace rostrix {

OnePerFile onePerFile(const std::string& folder, const std::vector<std::string>& names) {
    OnePerFile result;
    std::map<std::pair<dev_t, ino_t>, std::string> seen;
    for (const std::string& name : names) {
        struct stat info {};
        if (::stat((folder + "/" + name).c_str(), &info) != 0) {
            result.names.push_back(name);
            continue;
        }
        const auto [first, isNew] = seen.emplace(std::pair{info.st_dev, info.st_ino}, name);
        if (isNew)
            result.names.push_back(name);
        else
            result.skipped.push_back({name, first->second});
    }
    return result;
}

}  // namespace rostrix
