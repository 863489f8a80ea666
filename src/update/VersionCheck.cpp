// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/VersionCheck.h"

#include "settings/UpdateSite.h"

namespace rostrix {

namespace {
constexpr std::size_t kVersionLength = 5;
}

VersionVerdict judgeVersionPage(int status, const std::string& body) {
    // Only a final reply that succeeded holds the version page: a redirection that was
    // not followed, or a status line without a number, is no answer.
    if (status < 200 || status > 299)
        return {VersionVerdict::CheckFailed,
                "The check for a new version failed: the site answered "
                "with status " +
                    std::to_string(status) + "."};
    if (body.size() < kVersionLength)
        return {VersionVerdict::NoVersion,
                "The check for a new version failed: the site's version page holds no version "
                "number."};
    const std::string version = body.substr(0, kVersionLength);
    if (version == kProgramVersion)
        return {VersionVerdict::UpToDate, "No new updates are available."};
    return {VersionVerdict::NewVersion, "A new version the Rostrix (" + version +
                                            ") is available.\nWould you like to download it now?"};
}

}  // namespace rostrix
