// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLabel>
#include <QtTest/QTest>
#include <filesystem>

#include "platform/gui/CopyAnimation.h"
#include "support/core/LoopbackServer.h"
#include "support/core/StoredZip.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/UpdateWindows.h"

namespace rostrix {
namespace {

using test::httpReply;
using test::LoopbackServer;
using test::ScriptedDialogs;
using test::UpdateWindows;

const QString kSuccess = "Status:  Successful download of the Rostrix.";
const QString kFailure = "Status:  Failed to download the Rostrix.";

void clickAbort() {
    QTest::mouseClick(UpdateWindows::control(Form10, "Label2"), Qt::LeftButton);
}

bool animating() {
    return Form10->findChild<CopyAnimation*>("Animate1")->isRunning();
}

TEST(DownloadWindow, ASuccessfulReplyBecomesKwyxZip) {
    const std::string archive = test::storedZip(2048);
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", archive));
    });
    UpdateWindows w(server.url("/site"));
    w.home.write("kwyx.zip", "an older archive");
    w.watchBlocks([&] { EXPECT_TRUE(animating()); });
    Form10->show();
    ASSERT_TRUE(UpdateWindows::waitHidden(Form10));
    ASSERT_EQ(w.steps.size(), 1u);
    EXPECT_EQ(w.steps[0].status, "Status: 2K of 2K");
    EXPECT_EQ(w.steps[0].bar, 10000);
    EXPECT_EQ(UpdateWindows::status(), kSuccess);
    EXPECT_EQ(w.home.read("kwyx.zip"), archive);
    EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
    EXPECT_FALSE(animating());
    const std::string request = server.requests().at(0);
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /site/files/kwyx.zip HTTP/1.0");

    // Shown again: the bar starts over, the status line keeps the last outcome.
    Form10->show();
    EXPECT_EQ(UpdateWindows::bar(), 0);
    EXPECT_EQ(UpdateWindows::status(), kSuccess);
    clickAbort();

    // Any status from 200 to 299 with a whole archive is a success.
    LoopbackServer fine([&](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.1 299 Fine", archive));
    });
    Form10->SiteBase = fine.url("/site");
    w.home.write("kwyx.zip", "an older archive");
    Form10->show();
    ASSERT_TRUE(UpdateWindows::waitHidden(Form10));
    EXPECT_EQ(UpdateWindows::status(), kSuccess);
    EXPECT_EQ(w.home.read("kwyx.zip"), archive);
}

// A failed reply stays on screen, the animation stopped and what the server said in the
// status line's tool tip, until the user closes the window; the earlier archive stays.
// Only a whole ZIP from a reply of 200 to 299 replaces it.
TEST(DownloadWindow, AFailedReplyStaysOnScreenUntilClosed) {
    struct Case {
        std::string reply;
        QString toolTip;
        int bar;  // an error page leaves the bar empty, a cut-short archive where it stopped
        QString box = {};  // the error box, when the failure is an error
    };
    const std::string zip = test::storedZip(2048);
    const QString past = "The site 127.0.0.1 sent more than the 2048 bytes it announced";
    const QString bad = "The site 127.0.0.1 ";
    const Case cases[] = {
        {"HTTP/1.0 OK\r\nContent-Length: 2048\r\n\r\n" + zip, "The server answered: HTTP/1.0 OK",
         0},
        {"HTTP/1.0 100 Continue\r\n\r\n" + zip, "The server answered: HTTP/1.0 100 Continue", 0},
        {"HTTP/1.0 200 OK\r\nContent-Length: 2048\r\n\r\n" + zip + "extra", past, 10000,
         past + "."},
        {httpReply("HTTP/1.0 200 OK", zip.substr(0, 1500), "", false),
         "The file received is not a whole ZIP archive (Not a zip archive)", 0},
        {httpReply("HTTP/1.0 <b>200</b> OK", zip),
         "<p style='white-space:pre-wrap'>The server answered: HTTP/1.0 &lt;b&gt;200&lt;/b&gt; "
         "OK</p>",
         0},
        {httpReply("HTTP/1.0 404 Not Found", "<html>gone</html>"),
         "The server answered: HTTP/1.0 404 Not Found", 0},
        {"HTTP/1.0 200 OK\r\nContent-Length: 320000\r\n\r\n" + std::string(1000, 'a'),
         "The server sent 1000 of 320000 bytes, then closed the connection.", 31},
        {httpReply("HTTP/1.0 304 Not Modified", ""),
         "The server answered: HTTP/1.0 304 Not Modified", 0},
        {"HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n" + zip,
         bad + "sent an invalid Content-Length", 0, bad + "sent an invalid Content-Length."},
        {zip, bad + "did not answer with an HTTP status line", 0,
         bad + "did not answer with an HTTP status line."},
    };
    for (const Case& c : cases) {
        LoopbackServer server(
            [&](int fd, const std::string&) { LoopbackServer::send(fd, c.reply); });
        UpdateWindows w(server.url("/site"));
        w.home.write("kwyx.zip", "an older archive");
        ScriptedDialogs dlg;
        if (!c.box.isEmpty()) dlg.answerButton(Ok);
        Form10->show();
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return UpdateWindows::status() == kFailure && !animating(); }, 20000));
        QTest::qWait(100);
        EXPECT_EQ(dlg.asked.empty() ? QString() : dlg.asked[0].text, c.box);
        EXPECT_TRUE(Form10->isVisible()) << c.toolTip.toStdString();
        EXPECT_EQ(UpdateWindows::control(Form10, "Label1")->toolTip(), c.toolTip);
        EXPECT_EQ(UpdateWindows::bar(), c.bar) << c.toolTip.toStdString();
        EXPECT_EQ(w.home.read("kwyx.zip"), "an older archive");
        EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
        Form10->close();
        EXPECT_FALSE(Form10->isVisible());
    }
}

// The status line takes the first focus, so a stray Enter aborts nothing; Tab reaches the
// abort link, and Enter or Space there aborts before the request is sent.
TEST(DownloadWindow, TheAbortLinkIsReachedByTabNotByTheFirstFocus) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "zip"));
    });
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        UpdateWindows w(server.url("/site"));
        Form10->Timer1.setInterval(2000);
        Form10->show();
        QApplication::setActiveWindow(Form10);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "Label1");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(Form10->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), "Label2");
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(Form10->isVisible()) << key;
        EXPECT_FALSE(Form10->Timer1.isActive()) << key;
    }
    EXPECT_TRUE(server.requests().empty());
}

// The server closes without a word: the error box, and the window stays with the error
// in the status line's tool tip. (A reply cut short stays on screen too, above.)
TEST(DownloadWindow, AnEmptyReplyIsNoArchive) {
    LoopbackServer server([&](int fd, const std::string&) { LoopbackServer::send(fd, ""); });
    UpdateWindows w(server.url("/site"));
    w.home.write("kwyx.zip", "an older archive");
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    const std::string error = "The server closed the connection before the end of the reply header";
    EXPECT_EQ(dlg.asked[0].text.toStdString(), error + ".");
    EXPECT_EQ(UpdateWindows::control(Form10, "Label1")->toolTip().toStdString(), error);
    EXPECT_FALSE(animating());
    EXPECT_TRUE(Form10->isVisible());
    clickAbort();
    EXPECT_EQ(UpdateWindows::status(), kFailure);
    EXPECT_EQ(w.home.read("kwyx.zip"), "an older archive");
    EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
}

// A folder, a pipe or a loop of links under the archive's name or the name it is received
// under: refused before a request is sent, named in the box and under the status line.
TEST(DownloadWindow, SpecialFilesUnderEitherNameAreNamedAndLeftAlone) {
    LoopbackServer server([&](int fd, const std::string&) { LoopbackServer::send(fd, ""); });
    for (const std::string name : {"kwyx.zip", "kwyx.zip.part"}) {
        const std::string verb = name == "kwyx.zip" ? "Unable to write to " : "Cannot create file ";
        for (const int kind : {0, 1, 2}) {
            UpdateWindows w(server.url("/site"));
            const std::string path = w.home.file(name);
            if (kind == 0) std::filesystem::create_directory(path);
            if (kind == 1) ::mkfifo(path.c_str(), 0600);
            if (kind == 2) std::filesystem::create_symlink(path, path);
            const std::string said[] = {verb + path + ": Is a directory.",
                                        path + " is not a regular file.",
                                        verb + path + ": Too many levels of symbolic links."};
            ScriptedDialogs dlg;
            dlg.answerButton(Ok);
            Form10->show();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000)) << path;
            EXPECT_EQ(dlg.asked[0].text.toStdString(), said[kind]);
            EXPECT_EQ(UpdateWindows::control(Form10, "CauseLine")->text().toStdString() + ".",
                      said[kind]);
            EXPECT_TRUE(server.takeRequests().empty()) << path;
            Form10->close();
        }
    }
}

TEST(DownloadWindow, CloseBoxDuringATransferThatFailsStillCloses) {
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(
            fd, "HTTP/1.0 200 OK\r\nContent-Length: 320000\r\n\r\n" + std::string(1000, 'a'));
        server.pause(300);
        const linger hard{1, 0};  // the server's close then resets the connection
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    });
    UpdateWindows w(server.url("/site"));
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    w.watchBlocks([] { Form10->close(); });
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    EXPECT_EQ(dlg.asked[0].text, "10054:Connection reset by peer.");
    EXPECT_FALSE(Form10->isVisible());
    EXPECT_FALSE(animating());
}

TEST(DownloadWindow, AbortDuringTheTransferKeepsTheEarlierArchive) {
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(
            fd, "HTTP/1.0 200 OK\r\nContent-Length: 320000\r\n\r\n" + std::string(1000, 'a'));
        server.waitForClose(fd, 10000);
    });
    UpdateWindows w(server.url("/site"));
    w.home.write("kwyx.zip", "an older archive");
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);  // the abort error in the program-wide box
    w.watchBlocks(clickAbort);
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    ASSERT_EQ(w.steps.size(), 1u);
    EXPECT_EQ(w.steps[0].status, "Status: 1K of 313K");
    EXPECT_EQ(w.steps[0].bar, 31);
    EXPECT_EQ(dlg.asked[0].text, "Socket send aborted.");
    EXPECT_FALSE(Form10->isVisible());
    EXPECT_FALSE(animating());
    EXPECT_EQ(w.home.read("kwyx.zip"), "an older archive");
    EXPECT_FALSE(w.home.exists("kwyx.zip.part"));
}

TEST(DownloadWindow, AbortOrCloseDuringTheDelaySendsNoRequest) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "zip"));
    });
    for (const bool closeBox : {false, true}) {
        UpdateWindows w(server.url("/site"));
        Form10->Timer1.setInterval(300);
        Form10->show();
        EXPECT_TRUE(animating());
        if (closeBox)
            Form10->close();
        else
            clickAbort();
        EXPECT_FALSE(Form10->isVisible()) << closeBox;
        EXPECT_FALSE(Form10->Timer1.isActive()) << closeBox;
        QTest::qWait(600);
        EXPECT_TRUE(server.requests().empty()) << closeBox;
        EXPECT_FALSE(w.home.exists("kwyx.zip")) << closeBox;
    }
}

// The close box during the transfer closes the window once the transfer is over.
TEST(DownloadWindow, WithoutALengthTheBarIsBusyAndTheTransferGoesOn) {
    const std::string zip = test::storedZip(4500);
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "", "", false));
        for (int i = 0; i < 3; ++i) {
            LoopbackServer::send(fd, zip.substr(i * 1500, 1500));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    UpdateWindows w(server.url("/site"));
    std::vector<bool> visible;
    w.watchBlocks([&] {
        Form10->close();
        visible.push_back(Form10->isVisible());
    });
    Form10->show();
    ASSERT_TRUE(UpdateWindows::waitHidden(Form10));
    EXPECT_EQ(visible, std::vector<bool>(3, true));
    ASSERT_EQ(w.steps.size(), 3u);
    EXPECT_EQ(w.steps[0].status, "Status: 2K of 0K");
    EXPECT_EQ(w.steps[2].status, "Status: 5K of 0K");
    EXPECT_EQ(w.steps[2].barMaximum, 0);
    EXPECT_EQ(UpdateWindows::status(), kSuccess);
    EXPECT_EQ(w.home.read("kwyx.zip"), zip);
}

TEST(DownloadWindow, AnUnreachableSiteLeavesTheWindowOpen) {
    UpdateWindows w("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()));
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    EXPECT_EQ(dlg.asked[0].text, "Connection Failed.");
    EXPECT_TRUE(Form10->isVisible());
    EXPECT_FALSE(animating());
    EXPECT_EQ(UpdateWindows::status(), kFailure);
    EXPECT_FALSE(w.home.exists("kwyx.zip"));
    clickAbort();
    EXPECT_FALSE(Form10->isVisible());
}

}  // namespace
}  // namespace rostrix
