// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// Where team packages are mailed: the team library's submission address.
inline constexpr const char* kLibraryAddress = "teams@library.example.org";

// The submission address: the settings file's "Library" key in section "Mail" when it
// is there and not empty, else kLibraryAddress.
std::string libraryAddress(const std::string& settingsPath);

}  // namespace rostrix
