// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "support/core/LoopbackServer.h"
#include "support/core/StoredZip.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

using test::LoopbackServer;

// The program's windows started in a home folder whose settings file holds settings.
struct Started {
    test::TempFolder home{true};
    std::string ini;
    explicit Started(const std::string& updateSection) {
        ini = "[Directories]\r\nHome=" + home.path() + "\r\nPerl=" + home.path() + "\r\n" +
              updateSection;
        home.write("qrdTeams.ini", ini);
        createForms();
        Form10->Timer1.setInterval(20);  // the start delay, shortened
    }
    ~Started() { destroyForms(); }
    static void click(const char* label) {
        QTest::mouseClick(Form2->findChild<QLabel*>(label), Qt::LeftButton);
    }
};

std::string pathOf(const std::string& request) {
    const auto from = request.find(' ') + 1;
    return request.substr(from, request.find(' ', from) - from);
}

// A league's own site named in the settings file serves the link, the check and the
// download; the program never writes the key.
TEST(UpdateSite, TheSettingsFileMayNameTheSite) {
    const std::string archive = test::storedZip(300);
    LoopbackServer server([&](int fd, const std::string& request) {
        const std::string path = pathOf(request);
        LoopbackServer::send(fd, test::httpReply("HTTP/1.0 200 OK",
                                                 path.ends_with("kwyx.html") ? "2.0.0" : archive));
    });
    Started s("[Update]\r\nSite=" + server.url("/league") + "/\r\n");
    test::ScriptedDialogs dlg;
    Form2->show();
    EXPECT_EQ(Form2->findChild<QLabel*>("Label5")->toolTip().toStdString(),
              server.url("/league") + "/index.html");
    dlg.answerUrl(true);
    Started::click("Label5");
    dlg.answerButton(Yes);
    dlg.answerModal([](QWidget* window) {
        EXPECT_EQ(window, Form10);
        EXPECT_TRUE(QTest::qWaitFor([] { return !Form10->isVisible(); }, 20000));
    });
    Started::click("Label6");
    ASSERT_EQ(dlg.asked.size(), 3u);
    EXPECT_EQ(dlg.asked[0].text.toStdString(), server.url("/league") + "/index.html");
    EXPECT_EQ(dlg.asked[1].title, "Information");
    EXPECT_EQ(s.home.read("kwyx.zip"), archive);
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(pathOf(server.requests()[0]), "/league/kwyx.html");
    EXPECT_EQ(pathOf(server.requests()[1]), "/league/files/kwyx.zip");
    Form2->close();
    EXPECT_EQ(s.home.read("qrdTeams.ini"), s.ini);
}

// A long site address fits the window: its middle gives way, the tool tip holds it whole.
TEST(UpdateSite, ALongSiteKeepsTheLinkInsideTheWindow) {
    const std::string site = "http://qrd-league-of-the-northern-counties.example:8080/rostrix";
    Started s("[Update]\r\nSite=" + site + "\r\n");
    Form2->show();
    const QLabel* link = Form2->findChild<QLabel*>("Label5");
    EXPECT_LE(link->fontMetrics().horizontalAdvance(link->text()), link->width());
    EXPECT_TRUE(link->text().startsWith("http://qrd-league"));
    EXPECT_TRUE(link->text().endsWith("index.html"));
    EXPECT_EQ(link->toolTip().toStdString(), site + "/index.html");
    Form2->close();
}

// A value that is no site address is reported once, and the built-in site is used.
TEST(UpdateSite, AMalformedSiteIsReportedOnceAndTheBuiltInOneUsed) {
    Started s("[Update]\r\nSite=ftp://league.example/rostrix\r\n");
    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    Form2->show();
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Rostrix");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::None);
    EXPECT_EQ(dlg.asked[0].text.toStdString(),
              "The update site \"ftp://league.example/rostrix\" in " + s.home.file("qrdTeams.ini") +
                  " is not an address like http://host[:port]/folder or "
                  "https://host[:port]/folder.\n"
                  "The built-in site http://runqrd.example/rostrix is used instead.");
    EXPECT_EQ(Form2->findChild<QLabel*>("Label5")->text(),
              "http://runqrd.example/rostrix/index.html");
    dlg.answerUrl(true);
    Started::click("Label5");
    Form2->close();
    Form2->show();
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[1].text, "http://runqrd.example/rostrix/index.html");
    Form2->close();
    EXPECT_EQ(s.home.read("qrdTeams.ini"), s.ini);
}

}  // namespace
}  // namespace rostrix
