// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/LibraryAddress.h"

#include "platform/ProfileFile.h"

namespace rostrix {

std::string libraryAddress(const std::string& settingsPath) {
    const ProfileFile ini(settingsPath);
    std::string address = ini.read(kMailSection, kLibraryKey, "");
    return address.empty() ? kLibraryAddress : address;
}

}  // namespace rostrix
