// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "package/tmEMailTeam.h"
#include "support/core/SmtpScriptServer.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"

namespace rostrix {
namespace {

using test::ScriptedDialogs;
using test::SmtpScriptServer;
using test::TempFolder;

// The program's windows in a fresh home folder, the submission window shown and pointed
// at a scripted mail server (its port typed after the host, the plain exchange chosen in
// the settings), with every status text it shows recorded in order.
struct SubmissionWindow {
    TempFolder home{true};
    QStringList statuses;
    std::function<void()> duringSend;  // runs when the send starts

    explicit SubmissionWindow(const SmtpScriptServer& server) {
        createForms();
        port = server.port();
        home.write("qrdTeams.ini", home.read("qrdTeams.ini") + "[Mail]\r\nSecurity=plain\r\n");
        TSmtpClient& smtp = Form8->SmtpClient1;
        smtp.StallTimeoutMs = 20000;  // a fault that leaves a wait hanging fails, not hangs
        const auto record = [this] { statuses << status()->text(); };
        for (auto* event : {&smtp.OnConnect, &smtp.OnSuccess, &smtp.OnFailure})
            *event = [o = *event, record] {
                o();
                record();
            };
        smtp.OnSendStart = [this, o = smtp.OnSendStart, record] {
            o();
            record();
            if (duringSend) duringSend();
        };
        for (auto* event : {&smtp.OnEncodeStart, &smtp.OnEncodeEnd, &smtp.OnAttachmentNotFound,
                            &smtp.OnRecipientNotFound})
            *event = [o = *event, record](const std::string& s) {
                o(s);
                record();
            };
        Form8->show();
    }
    ~SubmissionWindow() { destroyForms(); }

    template <class T = QLineEdit>
    static T* control(const char* name) {
        return Form8->findChild<T*>(name);
    }
    static QLabel* status() { return control<QLabel>("Label6"); }
    static void click(const char* name) {
        QTest::mouseClick(control<QWidget>(name), Qt::LeftButton);
    }
    static void fill(const QString& from, const QString& host) {
        control("Edit1")->setText(from);
        control("Edit3")->setText(host.isEmpty() ? host : host + ":" + QString::number(port));
    }
    static inline int port = 0;
};

TEST(SubmissionWindow, SendsWithOneAttachmentReportingEachStepThenReopensEmpty) {
    SmtpScriptServer server;
    SubmissionWindow w(server);
    w.home.write("27ALnya.zip", "PK team");
    const QString team = QString::fromStdString(w.home.file("27ALnya.zip"));
    ScriptedDialogs dlg;
    dlg.answerPath(team);
    dlg.answerPath(std::nullopt);
    dlg.answerPath(std::nullopt);
    SubmissionWindow::click("Button1");
    SubmissionWindow::click("Label3");
    SubmissionWindow::click("Label7");
    ASSERT_EQ(dlg.asked.size(), 3u);
    for (const auto& asked : dlg.asked) {
        EXPECT_EQ(asked.kind, "openFile");
        EXPECT_EQ(asked.file.title, "Attach file");
        EXPECT_EQ(asked.file.filter, "Zip Files|*.zip");
        EXPECT_EQ(asked.file.defaultExt, "zip");
    }
    EXPECT_EQ(SubmissionWindow::control<QListWidget>("ListBox1")->count(), 1);

    SubmissionWindow::fill("coach@club.example", "127.0.0.1");
    SubmissionWindow::control("Edit2")->setText("1927 Yankees");
    SubmissionWindow::control("Edit4")->setText("coach");
    SubmissionWindow::control<QPlainTextEdit>("Memo1")->setPlainText("Here is my team.\n.");
    // A second press or an attach while the send runs does nothing.
    w.duringSend = [] {
        SubmissionWindow::click("Button2");
        SubmissionWindow::click("Button1");
        Form8->Button2Click();
    };
    SubmissionWindow::click("Button2");

    EXPECT_EQ(w.statuses, (QStringList{"Connected", "Encoding " + team, team + " encoded",
                                       "Sending Message", "Message sent successfully"}));
    const std::string wire = server.received();
    for (const char* piece :
         {"MAIL FROM:<coach@club.example>\r\nRCPT TO:<teams@library.example.org>\r\n",
          "Subject: 1927 Yankees\r\nReply-To: coach@club.example\r\n",
          "Here is my team.\r\n..\r\n--", "name=\"27ALnya.zip\""})
        EXPECT_NE(wire.find(piece), std::string::npos) << piece << "\nin\n" << wire;
    EXPECT_EQ(wire.rfind("HELO coach\r\n", 0), 0u);
    EXPECT_EQ(wire.find("HELO"), wire.rfind("HELO"));  // one send only
    EXPECT_FALSE(Form8->SmtpClient1.connected());
    EXPECT_TRUE(SubmissionWindow::control<QPushButton>("Button2")->isEnabled());

    Form8->hide();
    Form8->show();
    for (const char* edit : {"Edit1", "Edit2", "Edit3", "Edit4"})
        EXPECT_TRUE(SubmissionWindow::control(edit)->text().isEmpty()) << edit;
    EXPECT_TRUE(SubmissionWindow::control<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
    EXPECT_EQ(SubmissionWindow::control<QListWidget>("ListBox1")->count(), 0);
    EXPECT_EQ(SubmissionWindow::status()->text(), "Message sent successfully");
}

TEST(SubmissionWindow, EmptyHostIsRefusedWithoutConnecting) {
    SmtpScriptServer server;
    SubmissionWindow w(server);
    ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    SubmissionWindow::fill("coach@club.example", "");
    SubmissionWindow::click("Button2");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text,
              "You must enter your mail server address!\n This can be found in your e-mail "
              "software.");
    dlg.answerButton(No);  // to "No team package is attached. Send the message anyway?"
    SubmissionWindow::fill("coach@club.example", "127.0.0.1");
    SubmissionWindow::click("Button2");
    EXPECT_EQ(dlg.asked.back().text, "No team package is attached. Send the message anyway?");
    EXPECT_EQ(server.received(), "");
    EXPECT_TRUE(w.statuses.isEmpty());
}

TEST(SubmissionWindow, EmptySenderAsksForSenderThenRecipientPrefilled) {
    SmtpScriptServer server;
    SubmissionWindow w(server);
    ScriptedDialogs dlg;
    dlg.answerButton(Yes);  // no attachment
    dlg.answerText("me@club.example");
    dlg.answerText("me@club.example");
    SubmissionWindow::fill("", "127.0.0.1");
    SubmissionWindow::click("Button2");
    dlg.asked.erase(dlg.asked.begin());
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[0].title, "Missing From Address");
    EXPECT_EQ(dlg.asked[0].text, "Enter From Address: ");
    EXPECT_EQ(dlg.asked[0].value, "");
    EXPECT_EQ(dlg.asked[1].title, "Missing To Address");
    EXPECT_EQ(dlg.asked[1].text, "Enter To Address: ");
    EXPECT_EQ(dlg.asked[1].value, "me@club.example");
    const std::string wire = server.received();
    EXPECT_NE(wire.find("MAIL FROM:<me@club.example>\r\nRCPT TO:<me@club.example>\r\nDATA\r\n"
                        "From: <>\r\n"),
              std::string::npos)
        << wire;
    EXPECT_EQ(SubmissionWindow::status()->text(), "Message sent successfully");
}

TEST(SubmissionWindow, RefusedIntroductionAsksOnceThenTheErrorBoxSaysSo) {
    SmtpScriptServer server(
        SmtpScriptServer::Replies{{"HELO", {"501 who\r\n", "501 still who\r\n"}}});
    SubmissionWindow w(server);
    Form8->SmtpClient1.UserID = "kept";
    ScriptedDialogs dlg;
    dlg.answerButton(Yes);  // no attachment
    dlg.answerText("coach");
    dlg.answerButton(Ok);
    SubmissionWindow::fill("coach@club.example", "127.0.0.1");
    SubmissionWindow::click("Button2");
    dlg.asked.erase(dlg.asked.begin());
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[0].title, "Authentication Failed");
    EXPECT_EQ(dlg.asked[0].text, "Invalid User ID. New User ID: ");
    EXPECT_EQ(dlg.asked[0].value, "kept");
    EXPECT_EQ(dlg.asked[1].title, "Rostrix");
    EXPECT_EQ(dlg.asked[1].text.toStdString(),
              "Authentication failed.\nThe server refused HELO coach: 501 still who.");
    EXPECT_EQ(dlg.asked[1].icon, MsgIcon::Error);
    EXPECT_EQ(server.received(), "HELO kept\r\nHELO coach\r\nQUIT\r\n");
    EXPECT_EQ(Form8->SmtpClient1.UserID, "coach");

    // A message refused after "Sending Message" is never left standing as if under way.
    SmtpScriptServer refusing(SmtpScriptServer::Replies{{"DATA", {"554 no thanks\r\n"}}});
    SubmissionWindow::port = refusing.port();
    dlg.answerButton(Yes);  // no attachment
    dlg.answerButton(Ok);
    SubmissionWindow::fill("coach@club.example", "127.0.0.1");
    SubmissionWindow::click("Button2");
    EXPECT_EQ(SubmissionWindow::status()->text(), "Message not sent: 554 no thanks.");
}

// An error inside the sending step leaves the connection open; the next press closes it.
TEST(SubmissionWindow, MissingAttachmentEndsTheSendAndTheNextPressDisconnects) {
    SmtpScriptServer server;
    SubmissionWindow w(server);
    const QString gone = QString::fromStdString(w.home.file("gone.zip"));
    ScriptedDialogs dlg;
    dlg.answerPath(gone);
    dlg.answerButton(Ok);
    SubmissionWindow::click("Button1");
    SubmissionWindow::fill("coach@club.example", "127.0.0.1");
    SubmissionWindow::click("Button2");
    const QString notFound = "File attachment " + gone + " not found";
    EXPECT_EQ(w.statuses, (QStringList{"Connected", "Encoding " + gone, notFound}));
    EXPECT_EQ(SubmissionWindow::status()->toolTip(), notFound);
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[1].text, "Cannot open file " + gone +
                                     ".\nThe library has not received the message; Send "
                                     "starts a new send.");
    EXPECT_TRUE(Form8->SmtpClient1.connected());

    // The next press closes that connection and sends anew.
    w.home.write("gone.zip", "PK team");
    SubmissionWindow::click("Button2");
    EXPECT_FALSE(Form8->SmtpClient1.connected());
    EXPECT_EQ(SubmissionWindow::status()->text(), "Message sent successfully");
    EXPECT_EQ(server.received().rfind("HELO \r\nQUIT\r\nHELO \r\nRSET\r\n", 0), 0u);
}

// Esc during a send asks first: No lets the send go on, Yes stops it and says so.
TEST(SubmissionWindow, EscDuringASendAsksWhetherToStop) {
    for (const int answer : {No, Yes}) {
        SCOPED_TRACE(answer == Yes ? "Yes" : "No");
        SmtpScriptServer server(answer == Yes ? SmtpScriptServer::Replies{{".", {""}}}
                                              : SmtpScriptServer::Replies{});
        SubmissionWindow w(server);
        ScriptedDialogs dlg;
        dlg.answerButton(Yes);  // no attachment
        dlg.answerButton(answer);
        SubmissionWindow::fill("coach@club.example", "127.0.0.1");
        w.duringSend = [] {
            QTimer::singleShot(0, Form8, [] { QTest::keyClick(Form8, Qt::Key_Escape); });
        };
        SubmissionWindow::click("Button2");
        dlg.asked.erase(dlg.asked.begin());
        ASSERT_EQ(dlg.asked.size(), 1u);
        EXPECT_EQ(dlg.asked[0].title, "Rostrix");
        EXPECT_EQ(dlg.asked[0].text, "A mail is being sent. Stop it?");
        EXPECT_EQ(dlg.asked[0].buttons, Yes | No);
        EXPECT_EQ(Form8->isVisible(), answer == No);
        EXPECT_EQ(SubmissionWindow::status()->text(),
                  answer == Yes ? "Sending stopped: the library may not have received the mail"
                                : "Message sent successfully");
        EXPECT_FALSE(Form8->SmtpClient1.connected());
        EXPECT_FALSE(Form8->sending());
        EXPECT_TRUE(SubmissionWindow::control<QPushButton>("Button2")->isEnabled());
    }
}

// "Server" and "From" in section "Mail" fill the boxes each time the window is shown; the
// settings file is only read.
TEST(SubmissionWindow, ServerAndSenderComeFromTheSettingsWhenGiven) {
    SmtpScriptServer server;
    SubmissionWindow w(server);
    const std::string settings = w.home.read("qrdTeams.ini") +
                                 "Server=smtp.league.example:587\r\nFrom=coach@club.example\r\n";
    w.home.write("qrdTeams.ini", settings);
    SubmissionWindow::control("Edit3")->setText("typed.example");
    Form8->hide();
    Form8->show();
    EXPECT_EQ(SubmissionWindow::control("Edit3")->text(), "smtp.league.example:587");
    EXPECT_EQ(SubmissionWindow::control("Edit1")->text(), "coach@club.example");
    EXPECT_TRUE(SubmissionWindow::control("Edit4")->text().isEmpty());
    EXPECT_EQ(w.home.read("qrdTeams.ini"), settings);
}

// A Host box the client cannot use is reported before anything is sent.
TEST(SubmissionWindow, MalformedHostIsReportedWithoutConnecting) {
    SmtpScriptServer server;
    SubmissionWindow w(server);
    ScriptedDialogs dlg;
    dlg.answerButton(Yes);  // no attachment
    dlg.answerButton(Ok);
    SubmissionWindow::control("Edit1")->setText("coach@club.example");
    SubmissionWindow::control("Edit3")->setText("127.0.0.1:99999");
    SubmissionWindow::click("Button2");
    dlg.asked.erase(dlg.asked.begin());
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text,
              "The port in \"127.0.0.1:99999\" must be a number from 1 to 65535.");
    EXPECT_EQ(server.received(), "");
}

// The library address is a constant that a "Library" key in section "Mail" replaces;
// the settings file is only read.
TEST(SubmissionWindow, LibraryAddressComesFromTheSettingsWhenGiven) {
    const std::pair<std::string, std::string> cases[] = {
        {"Library=league@teams.example\r\n", "league@teams.example"},
        {"Library=\r\n", "teams@library.example.org"},
    };
    for (const auto& [section, address] : cases) {
        SmtpScriptServer server;
        SubmissionWindow w(server);
        const std::string settings = w.home.read("qrdTeams.ini") + section;
        w.home.write("qrdTeams.ini", settings);
        ScriptedDialogs dlg;
        dlg.answerButton(Yes);  // no attachment
        SubmissionWindow::fill("coach@club.example", "127.0.0.1");
        SubmissionWindow::click("Button2");
        EXPECT_NE(server.received().find("RCPT TO:<" + address + ">\r\n"), std::string::npos)
            << section;
        EXPECT_EQ(w.home.read("qrdTeams.ini"), settings);
    }
}

}  // namespace
}  // namespace rostrix
