#pragma once

namespace rostrix {

// The program's own version, compared byte for byte with the site's version page.
inline constexpr const char* kProgramVersion = "1.4.0";
inline constexpr const char* kBuildDate = "July 22, 2001";

// The project web site: its home page, version page and release archive live under it.
inline constexpr const char* kSiteBase = "http://runqrd.example/rostrix";
inline constexpr const char* kHomePage = "/index.html";
inline constexpr const char* kVersionPage = "/kwyx.html";
inline constexpr const char* kReleaseArchive = "/files/kwyx.zip";
inline constexpr const char* kArchiveName = "kwyx.zip";

}  // namespace rostrix
