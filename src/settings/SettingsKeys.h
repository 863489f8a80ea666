// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sections and keys of the settings file qrdTeams.ini in the home directory.
namespace rostrix::settings {

inline constexpr const char* kFileName = "qrdTeams.ini";

inline constexpr const char* kDirectories = "Directories";
inline constexpr const char* kHome = "Home";
inline constexpr const char* kPerl = "Perl";
inline constexpr const char* kDatabase = "Database";

inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kAutoFileName = "Auto File Name";
inline constexpr const char* kShowMenus = "Show Menus";
// Read only: "desktop" or "own" file dialogs.
inline constexpr const char* kFileDialog = "File Dialog";

// Read only: the program never writes this section.
inline constexpr const char* kUpdate = "Update";
inline constexpr const char* kSite = "Site";

// Read only as well: the team library's address, and the starting texts of the mail
// window's Host and From boxes with the choice of exchange ("plain", "starttls", "tls").
inline constexpr const char* kMail = "Mail";
inline constexpr const char* kLibrary = "Library";
inline constexpr const char* kServer = "Server";
inline constexpr const char* kFrom = "From";
inline constexpr const char* kSecurity = "Security";

}  // namespace rostrix::settings
