// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <regex>

#include "app/Forms.h"
#include "package/SmtpClient.h"
#include "package/tmEMailTeam.h"
#include "support/core/ErrorOf.h"
#include "support/core/TlsMailServer.h"
#include "support/gui/ScriptedDialogs.h"

namespace rostrix {
namespace {

using test::errorOf;
using test::ThrowawayCa;
using test::TlsMailServer;

const QString kPython = "/usr/bin/python3";
const QString kPeers = ROSTRIX_TEST_DATA "/../peers/";

// The saved message parsed by Python's email module.
QJsonObject parsed(const TlsMailServer& server, int n) {
    QProcess reader;
    reader.start(kPython, {kPeers + "read_message.py",
                           QString::fromStdString(server.folder().file(
                               "message-" + std::to_string(n) + ".eml"))});
    reader.waitForFinished(30000);
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

// A client for "localhost" (which the certificates name) at the server's port, asking
// for the password through a log.
struct Client {
    TSmtpClient smtp;
    std::vector<std::string> asked;
    std::string password = "app-password";

    Client(const TlsMailServer& server, MailSecurity security) {
        smtp.Host = "localhost";
        smtp.Port = server.port();
        smtp.Security = security;
        smtp.Login = "coach@club.example";
        smtp.StallTimeoutMs = 30000;
        smtp.socket().resolver = [](const std::string&) { return systemResolve("127.0.0.1"); };
        smtp.OnPassword = [this](std::string& p) {
            asked.push_back(smtp.Login + " at " + smtp.Host);
            p = password;
            return true;
        };
        TMailMessage& m = smtp.MailMessage;
        m.FromAddress = "coach@club.example";
        m.ReplyTo = "coach@club.example";
        m.ToAddress = {"teams@library.example.org"};
        m.Subject = "1927 Yankees";
        m.Body = {"Here is my team.", ".", "Thanks."};
    }
    std::string send() {
        return errorOf([&] {
            smtp.Connect();
            smtp.SendMail();
            smtp.Disconnect();
        });
    }
};

TEST(SmtpTlsPeer, StartTlsWithPlainLoginDeliversTheMessageIntact) {
    ThrowawayCa ca;
    const auto certificate = ca.issue({"localhost"});
    ASSERT_TRUE(ca.ok());
    TlsMailServer server("starttls", certificate, "PLAIN,LOGIN", "coach@club.example",
                         "app-password");
    ASSERT_TRUE(server.ready());
    test::TempFolder files;
    std::string everyByte;
    for (int i = 0; i < (1 << 18); ++i) everyByte += static_cast<char>(i * 7 % 256);
    files.write("every-byte.zip", everyByte);

    Client c(server, MailSecurity::StartTls);
    c.smtp.MailMessage.Attachments = {files.file("every-byte.zip")};
    EXPECT_EQ(c.send(), "<no error>");
    EXPECT_EQ(server.folder().read("message-1.env"),
              "coach@club.example\nteams@library.example.org\n");
    const QJsonObject mail = parsed(server, 1);
    EXPECT_TRUE(mail["defects"].toArray().isEmpty());
    QStringList names;
    QString date, id;
    for (const auto h : mail["headers"].toArray()) {
        names << h.toArray()[0].toString();
        if (names.back() == "Date") date = h.toArray()[1].toString();
        if (names.back() == "Message-ID") id = h.toArray()[1].toString();
    }
    EXPECT_EQ(names, (QStringList{"From", "To", "Subject", "Reply-To", "Date", "Message-ID",
                                  "Mime-Version", "Content-Type"}));
    EXPECT_TRUE(std::regex_match(date.toStdString(),
                                 std::regex("[A-Z][a-z]{2}, \\d{2} [A-Z][a-z]{2} \\d{4} "
                                            "\\d{2}:\\d{2}:\\d{2} [+-]\\d{4}")))
        << date.toStdString();
    EXPECT_TRUE(std::regex_match(id.toStdString(), std::regex("<[a-z0-9]{24}@[^>]+>")))
        << id.toStdString();
    const QJsonArray parts = mail["parts"].toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[1].toObject()["filename"].toString(), "every-byte.zip");
    EXPECT_TRUE(QByteArray::fromBase64(parts[1].toObject()["contents"].toString().toLatin1())
                    .toStdString() == everyByte)
        << "the attachment differs";

    // The password is kept for the next send to the same server and login.
    c.smtp.MailMessage.ToAddress = {"teams@library.example.org"};
    EXPECT_EQ(c.send(), "<no error>");
    EXPECT_EQ(c.asked, (std::vector<std::string>{"coach@club.example at localhost"}));
    EXPECT_TRUE(server.folder().exists("message-2.eml"));
}

// TLS from the first byte, and a server that offers LOGIN alone.
TEST(SmtpTlsPeer, ImplicitTlsAndLoginOnly) {
    ThrowawayCa ca;
    const auto certificate = ca.issue({"localhost"});
    ASSERT_TRUE(ca.ok());
    const std::pair<const char*, MailSecurity> cases[] = {{"tls", MailSecurity::Tls},
                                                          {"starttls", MailSecurity::StartTls}};
    for (const auto& [mode, security] : cases) {
        SCOPED_TRACE(mode);
        TlsMailServer server(mode, certificate, "LOGIN", "coach@club.example", "app-password");
        ASSERT_TRUE(server.ready());
        Client c(server, security);
        EXPECT_EQ(c.send(), "<no error>");
        EXPECT_EQ(c.asked.size(), 1u);
        const QJsonObject mail = parsed(server, 1);
        ASSERT_EQ(mail["parts"].toArray().size(), 1);
        EXPECT_EQ(QByteArray::fromBase64(
                      mail["parts"][0].toObject()["contents"].toString().toLatin1())
                      .replace("\r\n", "\n")
                      .toStdString(),
                  "\nHere is my team.\n.\nThanks.\n");  // the body's empty first line too
    }
}

// Whatever is wrong with the server's encryption, nothing is delivered and no password is
// asked for; the error names the host and the reason.
TEST(SmtpTlsPeer, ServersWithoutTrustworthyEncryptionAreRefused) {
    ThrowawayCa ca;
    const auto good = ca.issue({"localhost"});
    const auto other = ca.issue({"mail.other.example"});
    const auto expired = ca.issue({"localhost"}, true);
    ASSERT_TRUE(ca.ok());
    struct Case {
        const char* name;
        const char* mode;
        ThrowawayCa::Certificate certificate;
        MailSecurity security;
        std::vector<std::string> inError;
    };
    const Case cases[] = {
        {"no STARTTLS offered", "clear", good, MailSecurity::StartTls,
         {"The mail server localhost offers no encryption (STARTTLS)"}},
        {"certificate for another host", "starttls", other, MailSecurity::StartTls,
         {"localhost", "mail.other.example"}},
        {"certificate for another host, implicit TLS", "tls", other, MailSecurity::Tls,
         {"localhost", "mail.other.example"}},
        {"expired certificate", "starttls", expired, MailSecurity::StartTls,
         {"localhost", "expired"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TlsMailServer server(c.mode, c.certificate, "PLAIN,LOGIN", "coach@club.example",
                             "app-password");
        ASSERT_TRUE(server.ready());
        Client client(server, c.security);
        const std::string error = client.send();
        for (const std::string& piece : c.inError)
            EXPECT_NE(error.find(piece), std::string::npos) << piece << " not in " << error;
        EXPECT_TRUE(client.asked.empty());
        EXPECT_FALSE(client.smtp.connected());
        EXPECT_FALSE(server.folder().exists("message-1.eml"));
    }
}

// Through the window: the password is asked in a box that hides it, a refusal shows the
// server's reply and the next Send asks again.
TEST(SmtpTlsPeer, WrongPasswordShowsTheReplyAndIsAskedForAgain) {
    ThrowawayCa ca;
    const auto certificate = ca.issue({"localhost"});
    ASSERT_TRUE(ca.ok());
    TlsMailServer server("starttls", certificate, "PLAIN,LOGIN", "coach", "app-password");
    ASSERT_TRUE(server.ready());
    test::TempFolder home(true);
    createForms();
    Form8->SmtpClient1.socket().resolver = [](const std::string&) {
        return systemResolve("127.0.0.1");
    };
    Form8->show();
    test::ScriptedDialogs dlg;
    dlg.answerButton(Yes);  // no attachment
    dlg.answerText("wrong");
    dlg.answerButton(Ok);
    dlg.answerButton(Yes);
    dlg.answerText("app-password");
    const auto fill = [&] {
        Form8->findChild<QLineEdit*>("Edit1")->setText("coach@club.example");
        Form8->findChild<QLineEdit*>("Edit4")->setText("coach");
        Form8->findChild<QLineEdit*>("Edit3")->setText("localhost:" +
                                                       QString::number(server.port()));
    };
    fill();
    QTest::mouseClick(Form8->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    fill();
    QTest::mouseClick(Form8->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    ASSERT_EQ(dlg.asked.size(), 5u);
    dlg.asked.erase(dlg.asked.begin() + 3);  // the questions about the attachment
    dlg.asked.erase(dlg.asked.begin());
    for (int i : {0, 2}) {
        EXPECT_EQ(dlg.asked[i].kind, "passwordBox");
        EXPECT_EQ(dlg.asked[i].title, "Rostrix");
        EXPECT_EQ(dlg.asked[i].text, "Password for coach at localhost:");
    }
    EXPECT_EQ(dlg.asked[1].title, "Rostrix");
    EXPECT_TRUE(dlg.asked[1].text.startsWith("535 ")) << dlg.asked[1].text.toStdString();
    EXPECT_FALSE(dlg.asked[1].text.contains("wrong"));
    EXPECT_TRUE(server.folder().exists("message-1.eml"));
    EXPECT_FALSE(server.folder().exists("message-2.eml"));
    destroyForms();
}

}  // namespace
}  // namespace rostrix
