// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/LibraryAddress.h"

#include "platform/ProfileFile.h"
#include "settings/SettingsKeys.h"

namespace rostrix {

std::string libraryAddress(const std::string& settingsPath) {
    const ProfileFile ini(settingsPath);
    std::string address = ini.read(settings::kMail, settings::kLibrary, "");
    return address.empty() ? kLibraryAddress : address;
}

}  // namespace rostrix
