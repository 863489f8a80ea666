// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QtTest/QTest>
#include <random>

#include "support/core/HttpServerProcess.h"
#include "support/core/StoredZip.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/UpdateWindows.h"

namespace rostrix {
namespace {

using test::HttpServerProcess;
using test::ScriptedDialogs;
using test::TempFolder;
using test::UpdateWindows;

QByteArray sha256(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256);
}

// The project site as a real web server serves it: a version page and the archive.
struct Site {
    TempFolder root;
    std::string archive;
    std::unique_ptr<HttpServerProcess> server;

    explicit Site(std::size_t archiveSize) {
        QDir(QString::fromStdString(root.path())).mkpath("rostrix/files");
        archive = test::storedZip(archiveSize);
        root.write("rostrix/files/kwyx.zip", archive);
        server = std::make_unique<HttpServerProcess>(root.path());
    }
    void versionPage(const std::string& text) const { root.write("rostrix/kwyx.html", text); }
    std::string base() const { return server->url("/rostrix"); }
};

TEST(UpdatePeer, VersionCheckAgainstARealWebServer) {
    Site site(1000);
    ASSERT_TRUE(site.server->running());
    UpdateWindows w(site.base());
    const std::pair<const char*, QString> cases[] = {
        {"1.4.0\n", "No new updates are available."},
        {"2.0.0\n",
         "A new version the Rostrix (2.0.0) is available.\nWould you like to "
         "download it now?"},
        {"1.3.9\n",
         "A new version the Rostrix (1.3.9) is available.\nWould you like to "
         "download it now?"},
    };
    for (const auto& [page, text] : cases) {
        site.versionPage(page);
        ScriptedDialogs dlg;
        dlg.answerButton(text.startsWith("No") ? Ok : No);
        Form2->Label6Click();
        ASSERT_EQ(dlg.asked.size(), 1u) << page;
        EXPECT_EQ(dlg.asked[0].text, text) << page;
    }
}

TEST(UpdatePeer, DownloadIsByteIdenticalToTheServedArchive) {
    Site site(3 << 20);
    ASSERT_TRUE(site.server->running());
    site.versionPage("2.0.0\n");
    UpdateWindows w(site.base());
    w.watchBlocks();
    ScriptedDialogs dlg;
    UpdateWindows::downloadFromAbout(dlg);
    ASSERT_EQ(dlg.asked.size(), 2u);

    EXPECT_EQ(sha256(w.home.read("kwyx.zip")), sha256(site.archive));
    ASSERT_FALSE(w.steps.empty());
    EXPECT_EQ(w.steps.back().status, "Status: 3072K of 3072K");
    EXPECT_EQ(w.steps.back().bar, 10000);
    for (std::size_t i = 1; i < w.steps.size(); ++i) {
        EXPECT_GE(w.steps[i].bar, w.steps[i - 1].bar);
        EXPECT_TRUE(w.steps[i].status.endsWith("K of 3072K")) << w.steps[i].status.toStdString();
    }
    EXPECT_EQ(UpdateWindows::status(), "Status:  Successful download of the Rostrix.");
}

}  // namespace
}  // namespace rostrix
