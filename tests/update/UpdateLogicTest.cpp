// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "settings/UpdateSite.h"
#include "update/DownloadProgress.h"
#include "update/VersionCheck.h"

namespace rostrix {
namespace {

TEST(VersionCheck, OnlyOurOwnFiveCharactersMeanUpToDate) {
    using V = VersionVerdict;
    const std::string question = ") is available.\nWould you like to download it now?";
    struct Case {
        int status;
        std::string body;
        V::Kind kind;
        std::string text;
    };
    const Case cases[] = {
        {200, "1.4.0", V::UpToDate, "No new updates are available."},
        {200, "1.4.0\r\n", V::UpToDate, "No new updates are available."},
        {299, "1.4.0 stable", V::UpToDate, "No new updates are available."},
        {204, "2.0.0", V::NewVersion, "A new version the Rostrix (2.0.0" + question},
        {200, "2.0.0\n", V::NewVersion, "A new version the Rostrix (2.0.0" + question},
        {200, "1.3.9", V::NewVersion, "A new version the Rostrix (1.3.9" + question},
        {200, " 1.4.0", V::NewVersion, "A new version the Rostrix ( 1.4." + question},
        {200,
         "\xEF\xBB\xBF"
         "1.4.0",
         V::NewVersion,
         "A new version the Rostrix (\xEF\xBB\xBF"
         "1." +
             question},
        {200, "1.4", V::NoVersion, {}},
        {200, "", V::NoVersion, {}},
        {404, "<html>Not Found</html>", V::CheckFailed, {}},
        {500, "", V::CheckFailed, {}},
        // Only a final reply from 200 to 299 holds the version page.
        {0, "1.4.0 stable", V::CheckFailed, {}},
        {199, "2.0.0", V::CheckFailed, {}},
        {300, "2.0.0", V::CheckFailed, {}},
        {301, "2.0.0", V::CheckFailed, {}},
        {302, "2.0.0", V::CheckFailed,
         "The check for a new version failed: the site answered with status 302."},
        {303, "2.0.0", V::CheckFailed, {}},
        {304, "1.4.0", V::CheckFailed, {}},
        {399, "2.0.0", V::CheckFailed, {}},
        {400, "2.0.0", V::CheckFailed, {}},
    };
    for (const Case& c : cases) {
        const VersionVerdict v = judgeVersionPage(c.status, c.body);
        EXPECT_EQ(v.kind, c.kind) << c.body;
        if (!c.text.empty()) {
            EXPECT_EQ(v.text, c.text) << c.body;
        }
    }
    EXPECT_NE(judgeVersionPage(404, "x").text.find("404"), std::string::npos);
    EXPECT_NE(judgeVersionPage(200, "1.4").text.find("no version"), std::string::npos);
}

TEST(UpdateSite, OnlyAnHttpOrHttpsAddressNamesTheSite) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"http://league.example/rostrix", "http://league.example/rostrix"},
        {"http://league.example/rostrix/", "http://league.example/rostrix"},
        {"HTTP://127.0.0.1:8080/qrd/files", "http://127.0.0.1:8080/qrd/files"},
        {"http://league.example", "http://league.example"},
        {"http://league.example/", "http://league.example"},
        {"http://host:65535/x", "http://host:65535/x"},
        {"https://league.example/rostrix", "https://league.example/rostrix"},
        {"HTTPS://league.example:8443/rostrix/", "https://league.example:8443/rostrix"},
        {"https:/league.example/rostrix", std::nullopt},
        {"httpss://league.example/rostrix", std::nullopt},
        {"https://", std::nullopt},
        {"ftp://league.example/rostrix", std::nullopt},
        {"league.example/rostrix", std::nullopt},
        {"http://", std::nullopt},
        {"http:///rostrix", std::nullopt},
        {"http://host:/x", std::nullopt},
        {"http://host:0/x", std::nullopt},
        {"http://host:65536/x", std::nullopt},
        {"http://host:8o/x", std::nullopt},
        {"http://user@host/x", std::nullopt},
        {"http://host/a b", std::nullopt},
        {"http://host/x?y=1", std::nullopt},
        {"http://host/x#top", std::nullopt},
        {"http://host//x", std::nullopt},
        {"http://host/x//", std::nullopt},
    };
    for (const auto& [value, site] : cases) EXPECT_EQ(siteFromSetting(value), site) << value;
}

TEST(DownloadProgress, KilobytesRoundUpAndTheBarTruncates) {
    struct Case {
        long long received, total;
        const char* text;
        std::optional<int> position;
    };
    const Case cases[] = {
        {2048, 2048, "Status: 2K of 2K", 10000},
        {1000, 320000, "Status: 1K of 313K", 31},
        {1, 1, "Status: 1K of 1K", 10000},
        {1025, 4096, "Status: 2K of 4K", 2502},
        {0, 4096, "Status: 0K of 4K", 0},
        {5000, 0, "Status: 5K of 0K", std::nullopt},
        {6000, 3000, "Status: 6K of 3K", 10000},
        {3LL << 30, 4LL << 30, "Status: 3145728K of 4194304K", 7500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(downloadStatusText(c.received, c.total), c.text) << c.received;
        EXPECT_EQ(downloadPosition(c.received, c.total), c.position) << c.received;
    }
}

TEST(DownloadProgress, OnlyAWholeNonEmptyBodyIsAnArchive) {
    const std::tuple<long long, long long, bool> cases[] = {
        {2048, 2048, true}, {5000, 0, true},       {6000, 3000, true},
        {0, 0, false},      {1000, 320000, false}, {0, 10, false},
    };
    for (const auto& [received, total, complete] : cases)
        EXPECT_EQ(downloadComplete(received, total), complete) << received << " of " << total;
}

}  // namespace
}  // namespace rostrix
