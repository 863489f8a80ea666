// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>

#include "settings/UpdateSite.h"
#include "support/core/LoopbackServer.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/UpdateWindows.h"

namespace rostrix {
namespace {

using test::httpReply;
using test::LoopbackServer;
using test::ScriptedDialogs;
using test::UpdateWindows;

const QString kQuestionEnd = ") is available.\nWould you like to download it now?";

std::string requestPath(const std::string& request) {
    const std::size_t from = request.find(' ') + 1;
    return request.substr(from, request.find(' ', from) - from);
}

void clickLabel(const char* name) {
    QTest::mouseClick(UpdateWindows::control(Form2, name), Qt::LeftButton);
}

TEST(AboutWindow, ClicksOnTheBackgroundPictureAndFirstFourLabelsClose) {
    UpdateWindows w(kSiteBase);
    EXPECT_EQ(UpdateWindows::control(Form2, "Image1")->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(UpdateWindows::control(Form2, "Label5")->text(),
              "http://runqrd.example/rostrix/index.html");
    for (const char* name : {"Image1", "Label1", "Label2", "Label3", "Label4", ""}) {
        Form2->show();
        QWidget* target = Form2;
        if (*name) target = UpdateWindows::control(Form2, name);
        QTest::mouseClick(target, Qt::LeftButton, {}, *name ? QPoint() : QPoint(5, 5));
        EXPECT_FALSE(Form2->isVisible()) << name;
    }
}

TEST(AboutWindow, OpensWithTheFocusOnNoControlThatActs) {
    UpdateWindows w("http://127.0.0.1:9/site");
    ScriptedDialogs dlg;  // a browser or a version check would be a question
    const struct Case {
        Qt::Key key;
        bool tabFirst;  // Tab first: the link has the focus, and Esc still closes
    } cases[] = {{Qt::Key_Return, false},
                 {Qt::Key_Enter, false},
                 {Qt::Key_Escape, false},
                 {Qt::Key_Escape, true}};
    for (const Case& c : cases) {
        Form2->show();
        Form2->activateWindow();
        QApplication::setActiveWindow(Form2);
        EXPECT_EQ(Form2->focusWidget(), Form2) << c.key;
        if (c.tabFirst) {
            QTest::keyClick(Form2, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), UpdateWindows::control(Form2, "Label5"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), UpdateWindows::control(Form2, "Label6"));
        }
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : Form2, c.key);
        EXPECT_FALSE(Form2->isVisible()) << c.key;
    }
    EXPECT_TRUE(dlg.asked.empty());
}

TEST(AboutWindow, HomePageLinkOpensTheBrowserOrSaysItCannot) {
    UpdateWindows w("http://127.0.0.1:9/site");
    ScriptedDialogs dlg;
    dlg.answerUrl(true);
    dlg.answerUrl(false);
    dlg.answerButton(Ok);
    Form2->show();
    clickLabel("Label5");
    clickLabel("Label5");
    ASSERT_EQ(dlg.asked.size(), 3u);
    EXPECT_EQ(dlg.asked[0].text, "http://127.0.0.1:9/site/index.html");
    EXPECT_EQ(dlg.asked[2].title, "Rostrix");
    EXPECT_EQ(dlg.asked[2].text, "Unable to connect to the Run QRD website.");
    EXPECT_EQ(dlg.asked[2].buttons, Ok);
    EXPECT_TRUE(Form2->isVisible());
}

TEST(AboutWindow, ASecondClickDuringACheckStartsNoSecondCheck) {
    LoopbackServer server([&server](int fd, const std::string&) {
        server.pause(400);
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "1.4.0"));
    });
    UpdateWindows w(server.url("/site"));
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    Form2->show();
    QTimer::singleShot(100, [] { clickLabel("Label6"); });
    clickLabel("Label6");
    EXPECT_EQ(server.requests().size(), 1u);
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text, "No new updates are available.");
}

TEST(AboutWindow, VersionCheckReportsWhatThePageSays) {
    struct Case {
        std::string reply;
        QString title;
        QString text;
        MsgIcon icon;
        int buttons;
    };
    const Case cases[] = {
        {httpReply("HTTP/1.0 200 OK", "1.4.0\r\nstable"), "Rostrix",
         "No new updates are available.", MsgIcon::None, Ok},
        {httpReply("HTTP/1.0 200 OK", "2.0.0"), "Information",
         "A new version the Rostrix (2.0.0" + kQuestionEnd, MsgIcon::Information, Yes | No},
        {httpReply("HTTP/1.0 302 Found", "", "Location: kwyx2.html\r\n"), "Information",
         "A new version the Rostrix (2.1.0" + kQuestionEnd, MsgIcon::Information, Yes | No},
        {httpReply("HTTP/1.0 404 Not Found", "<html>Not Found</html>"), "Rostrix",
         "The check for a new version failed: the site answered with status 404.", MsgIcon::None,
         Ok},
        // A redirection that is not followed holds no version page.
        {httpReply("HTTP/1.0 302 Found", "2.0.0"), "Rostrix",
         "The check for a new version failed: the site answered with status 302.", MsgIcon::None,
         Ok},
        {httpReply("HTTP/1.0 303 See Other", "2.0.0", "Location: kwyx2.html\r\n"), "Rostrix",
         "The check for a new version failed: the site answered with status 303.", MsgIcon::None,
         Ok},
    };
    for (const Case& c : cases) {
        LoopbackServer server([&](int fd, const std::string& request) {
            if (requestPath(request) == "/site/kwyx2.html")
                LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "2.1.0"));
            else
                LoopbackServer::send(fd, c.reply);
        });
        UpdateWindows w(server.url("/site"));
        ScriptedDialogs dlg;
        dlg.answerButton(c.buttons == Ok ? Ok : No);
        Form2->show();
        clickLabel("Label6");
        ASSERT_EQ(dlg.asked.size(), 1u) << c.reply;
        EXPECT_EQ(dlg.asked[0].title, c.title) << c.reply;
        EXPECT_EQ(dlg.asked[0].text, c.text) << c.reply;
        EXPECT_EQ(dlg.asked[0].icon, c.icon) << c.reply;
        EXPECT_EQ(dlg.asked[0].buttons, c.buttons) << c.reply;
        EXPECT_TRUE(Form2->isVisible()) << "answering leaves the window open";
        EXPECT_EQ(requestPath(server.requests().at(0)), "/site/kwyx.html");
    }
}

TEST(AboutWindow, YesOpensTheDownloadWindowModally) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "2.0.0"));
    });
    UpdateWindows w(server.url("/site"));
    ScriptedDialogs dlg;
    dlg.answerButton(Yes);
    bool shown = false;
    dlg.answerModal([&](QWidget* window) {
        shown = window == Form10 && window->isVisible() && Form2->isVisible();
        QTest::mouseClick(UpdateWindows::control(Form10, "Label2"), Qt::LeftButton);
    });
    Form2->show();
    clickLabel("Label6");
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[1].kind, "showModal");
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Form2->isVisible());
}

TEST(AboutWindow, ClosingDuringACheckEndsItQuietly) {
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n");
        server.waitForClose(fd, 10000);
    });
    UpdateWindows w(server.url("/site"));
    ScriptedDialogs dlg;  // no question and no error box may come
    Form2->show();
    QTimer::singleShot(200, [] { clickLabel("Label1"); });
    const auto started = std::chrono::steady_clock::now();
    clickLabel("Label6");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_FALSE(Form2->HttpClient1.connected());
    EXPECT_TRUE(dlg.asked.empty());
}

TEST(AboutWindow, AnUnreachableSiteShowsTheClientError) {
    UpdateWindows w("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/x");
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    Form2->show();
    clickLabel("Label6");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text, "Connection Failed.");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace rostrix
