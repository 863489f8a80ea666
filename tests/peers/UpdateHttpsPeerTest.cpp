// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QtTest/QTest>
#include <memory>
#include <random>

#include "platform/Error.h"
#include "support/core/HttpServerProcess.h"
#include "support/core/StoredZip.h"
#include "support/core/ThrowawayCa.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/UpdateWindows.h"

namespace rostrix {
namespace {

using test::HttpServerProcess;
using test::ScriptedDialogs;
using test::TempFolder;
using test::ThrowawayCa;
using test::UpdateWindows;

const QString kNewVersion =
    "A new version the Rostrix (2.0.0) is available.\nWould you like to download it now?";

// The project site served over HTTPS by Python's http.server with a certificate from a
// throwaway authority that this process trusts for the test.
struct SecureSite {
    ThrowawayCa ca;
    TempFolder root;
    std::string archive;
    std::unique_ptr<HttpServerProcess> server;

    explicit SecureSite(std::size_t archiveSize,
                        const std::vector<std::string>& names = {"localhost", "127.0.0.1"}) {
        QDir(QString::fromStdString(root.path())).mkpath("rostrix/files");
        archive = test::storedZip(archiveSize, 11);
        root.write("rostrix/files/kwyx.zip", archive);
        if (ca.ok()) server = std::make_unique<HttpServerProcess>(root.path(), ca.issue(names));
    }
    bool running() const { return server && server->running(); }
    std::string base() const { return server->url("/rostrix"); }
};

// Runs the version check; the texts of the messages it showed (the question answered No).
std::vector<QString> check(int answer = No) {
    ScriptedDialogs dlg;
    dlg.answerButton(answer);
    Form2->Label6Click();
    std::vector<QString> texts;
    for (const auto& asked : dlg.asked) texts.push_back(asked.text);
    return texts;
}

// What the check ended with when it ended with an error.
QString checkError() {
    ScriptedDialogs dlg;  // no message is expected
    try {
        Form2->Label6Click();
    } catch (const Error& e) {
        return QString::fromUtf8(e.what());
    }
    return "<no error>";
}

TEST(UpdateHttpsPeer, VersionCheckOverHttps) {
    SecureSite site(100);
    ASSERT_TRUE(site.running());
    UpdateWindows w(site.base());
    // The check shows a busy cursor while it waits, and only then.
    int busyWaits = 0;
    Form2->HttpClient1.socket().pump = [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        busyWaits += cursor && cursor->shape() == Qt::BusyCursor;
    };
    const std::pair<const char*, QString> cases[] = {
        {"1.4.0\n", "No new updates are available."},
        {"2.0.0\n", kNewVersion},
        {nullptr, "The check for a new version failed: the site answered with status 404."},
    };
    for (const auto& [page, text] : cases) {
        if (page)
            site.root.write("rostrix/kwyx.html", page);
        else
            QFile::remove(QString::fromStdString(site.root.file("rostrix/kwyx.html")));
        EXPECT_EQ(check(text == kNewVersion ? No : Ok), std::vector<QString>{text})
            << (page ? page : "no page");
    }
    EXPECT_GT(busyWaits, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(UpdateHttpsPeer, DownloadOverHttpsIsByteIdenticalAndPlainOrChunked) {
    SecureSite site(10 << 20);
    ASSERT_TRUE(site.running());
    site.root.write("rostrix/kwyx.html", "2.0.0\n");
    for (const bool chunked : {false, true}) {
        if (chunked) site.root.write("rostrix/files/kwyx.zip.chunked", "");
        UpdateWindows w(site.base());
        w.watchBlocks();
        ScriptedDialogs dlg;
        UpdateWindows::downloadFromAbout(dlg);
        ASSERT_EQ(dlg.asked.size(), 2u);
        const std::string got = w.home.read("kwyx.zip");
        EXPECT_EQ(got.size(), site.archive.size()) << chunked;
        EXPECT_TRUE(got == site.archive) << chunked;
        EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
        ASSERT_FALSE(w.steps.empty());
        EXPECT_EQ(w.steps.back().status,
                  chunked ? "Status: 10240K of 0K" : "Status: 10240K of 10240K");
        if (!chunked) {
            EXPECT_EQ(w.steps.back().bar, 10000);
        }
        EXPECT_EQ(UpdateWindows::status(), "Status:  Successful download of the Rostrix.");
    }
}

TEST(UpdateHttpsPeer, APlainSiteRedirectedToHttpsIsFollowedNeverTheOtherWay) {
    SecureSite site(100);
    ASSERT_TRUE(site.running());
    site.root.write("rostrix/kwyx.html", "2.0.0\n");
    TempFolder plainRoot;
    QDir(QString::fromStdString(plainRoot.path())).mkpath("rostrix");
    HttpServerProcess plain(plainRoot.path());
    ASSERT_TRUE(plain.running());
    plainRoot.write("rostrix/kwyx.html", "1.4.0\n");

    // The plain site answers with its secure twin's address.
    plainRoot.write("rostrix/kwyx.html.location", site.base() + "/kwyx.html");
    {
        UpdateWindows w(plain.url("/rostrix"));
        EXPECT_EQ(check(), std::vector<QString>{kNewVersion});
    }
    // The secure site may not send the check back to plain http.
    site.root.write("rostrix/kwyx.html.location", plain.url("/rostrix/kwyx.html"));
    UpdateWindows w(site.base());
    EXPECT_EQ(checkError(),
              "The site localhost redirected from its secure https address to a plain http one; "
              "the redirection was not followed");
    EXPECT_FALSE(Form2->HttpClient1.connected());
}

TEST(UpdateHttpsPeer, ACertificateForAnotherHostIsRefused) {
    SecureSite site(100, {"www.other.example"});
    ASSERT_TRUE(site.running());
    site.root.write("rostrix/kwyx.html", "2.0.0\n");
    UpdateWindows w(site.base());
    EXPECT_EQ(checkError(), "The certificate of localhost is for www.other.example");
}

TEST(UpdateHttpsPeer, AServerThatClosesMidBodyLeavesNoArchive) {
    SecureSite site(4 << 20);
    ASSERT_TRUE(site.running());
    site.root.write("rostrix/files/kwyx.zip.cut", "");
    UpdateWindows w(site.base());
    w.watchBlocks();
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    EXPECT_EQ(dlg.asked[0].text,
              "The connection to localhost ended before the whole reply had arrived.");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
    EXPECT_FALSE(w.steps.empty());  // part of it did arrive
    EXPECT_FALSE(w.home.exists("kwyx.zip"));
    EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
    EXPECT_EQ(UpdateWindows::status(), "Status:  Failed to download the Rostrix.");
    QTest::mouseClick(UpdateWindows::control(Form10, "Label2"), Qt::LeftButton);
    EXPECT_FALSE(Form10->isVisible());
}

TEST(UpdateHttpsPeer, AbortDuringASecureTransferKeepsTheEarlierArchive) {
    SecureSite site(8 << 20);
    ASSERT_TRUE(site.running());
    UpdateWindows w(site.base());
    w.home.write("kwyx.zip", "an older archive");
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);  // the abort error in the program-wide box
    w.watchBlocks(
        [] { QTest::mouseClick(UpdateWindows::control(Form10, "Label2"), Qt::LeftButton); });
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    EXPECT_EQ(w.steps.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text, "Socket send aborted.");
    EXPECT_FALSE(Form10->isVisible());
    EXPECT_EQ(w.home.read("kwyx.zip"), "an older archive");
    EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
}

}  // namespace
}  // namespace rostrix
