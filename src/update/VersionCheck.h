// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// What the version check tells the user after reading the version page.
struct VersionVerdict {
    enum Kind { UpToDate, NewVersion, NoVersion, CheckFailed } kind;
    std::string text;  // the message shown (bytes)
};

// The first five characters of the page are the newest version; anything other than our
// own is offered as a new one. A final status outside 200 to 299, or a page too short to
// hold a version, is reported as such rather than offered for download.
VersionVerdict judgeVersionPage(int status, const std::string& body);

}  // namespace rostrix
