// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/HomeFolder.h"

#include <filesystem>
#include <system_error>

#include "settings/SettingsKeys.h"

namespace rostrix {

namespace {

std::string& settled() {
    static std::string folder;
    return folder;
}

}  // namespace

std::string homeFolder() {
    if (!settled().empty()) return settled();
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

void settleHomeFolder(const std::string& startFolder) {
    settled() = startFolder;
}

std::string settingsPath() {
    return homeFolder() + "/" + settings::kFileName;
}

}  // namespace rostrix
