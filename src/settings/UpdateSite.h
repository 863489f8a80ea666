// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rostrix {

// The program's own version, compared byte for byte with the site's version page.
inline constexpr const char* kProgramVersion = "1.4.0";
inline constexpr const char* kBuildDate = "July 22, 2001";

// The project web site: its home page, version page and release archive live under it.
// The key "Site" in the section "Update" of qrdTeams.ini may name another one (a league
// hosting its own copy); the program only reads that key.
inline constexpr const char* kSiteBase = "http://runqrd.example/rostrix";
inline constexpr const char* kHomePage = "/index.html";
inline constexpr const char* kVersionPage = "/kwyx.html";
inline constexpr const char* kReleaseArchive = "/files/kwyx.zip";
inline constexpr const char* kArchiveName = "kwyx.zip";
// The archive is received under this name and takes its own only when it is whole.
inline constexpr const char* kPartialArchiveName = "kwyx.zip.part";
// How long the version check and the download may take in all, however steadily the site
// sends: a site trickling a byte now and then cannot keep them running for ever.
inline constexpr int kVersionCheckLimitMs = 60 * 1000;
inline constexpr int kDownloadLimitMs = 10 * 60 * 1000;

// A site address as the settings file may give it, http://host[:port]/folder or
// https://host[:port]/folder (a trailing slash tolerated), as the base the resources above
// are appended to; nothing when the value is not such an address.
std::optional<std::string> siteFromSetting(std::string_view value);

// The site the settings file at settingsPath names, else the built-in one. When the
// file names something that is no site address, complaint (bytes, may be null) gets the
// text that tells the user so; otherwise it is left alone.
std::string configuredSite(const std::string& settingsPath, std::string* complaint);

}  // namespace rostrix
