// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest/QTest>

#include "package/SmtpClient.h"
#include "support/core/LoopbackServer.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

using test::TempFolder;

// Debian's python with its modules; the python3 on PATH may be another one.
const QString kPython = "/usr/bin/python3";
const QString kPeers = ROSTRIX_TEST_DATA "/../peers/";

// aiosmtpd on a free loopback port, saving what it accepts into a folder.
struct MailSink {
    TempFolder folder;
    QProcess process;
    int port = test::LoopbackServer::closedPort();

    MailSink() {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(kPython, {kPeers + "smtp_sink.py", QString::fromStdString(folder.path()),
                                QString::number(port)});
    }
    ~MailSink() {
        process.kill();
        process.waitForFinished(5000);
    }
    bool ready() {
        return process.waitForStarted(10000) &&
               QTest::qWaitFor([&] { return process.readAllStandardOutput().contains("ready"); },
                               20000);
    }
    // The saved message parsed by Python's email module.
    QJsonObject parsed(int n) {
        QProcess reader;
        reader.start(
            kPython,
            {kPeers + "read_message.py",
             QString::fromStdString(folder.file("message-" + std::to_string(n) + ".eml"))});
        reader.waitForFinished(30000);
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    }
};

TEST(SmtpPeer, AMessageWithTwoAttachmentsArrivesIntactAtARealServer) {
    MailSink sink;
    ASSERT_TRUE(sink.ready());
    TempFolder files;
    std::string everyByte;
    for (int i = 0; i < (1 << 20); ++i) everyByte += static_cast<char>(i * 7 % 256);
    files.write("every-byte.zip", everyByte);
    files.write("empty.zip", "");

    TSmtpClient smtp;
    smtp.Host = "127.0.0.1";
    smtp.Port = sink.port;
    // The server refuses a HELO without a name; the handler supplies one.
    smtp.OnAuthenticationFailed = [&](bool& handled) {
        smtp.UserID = "rostrix.test";
        handled = true;
    };
    TMailMessage& m = smtp.MailMessage;
    m.FromAddress = "coach@club.example";
    m.ReplyTo = "coach@club.example";
    m.ToAddress = {"teams@library.example.org"};
    m.Subject = "1927 Yankees";
    m.Body = {"Here is my team.", ".", ".x", "", "Thanks."};
    m.Attachments = {files.file("every-byte.zip"), files.file("empty.zip")};
    smtp.Connect();
    smtp.SendMail();
    smtp.Disconnect();

    EXPECT_EQ(sink.folder.read("message-1.env"), "coach@club.example\nteams@library.example.org\n");
    const QJsonObject mail = sink.parsed(1);
    EXPECT_TRUE(mail["defects"].toArray().isEmpty())
        << QJsonDocument(mail["defects"].toArray()).toJson().toStdString();
    QStringList headers;
    for (const auto h : mail["headers"].toArray())
        headers << h.toArray()[0].toString() + ": " + h.toArray()[1].toString();
    EXPECT_EQ(headers, (QStringList{"From: coach@club.example", "To: teams@library.example.org",
                                    "Subject: 1927 Yankees", "Reply-To: coach@club.example",
                                    "Mime-Version: 1.0",
                                    "Content-Type: multipart/mixed; boundary=\"" +
                                        mail["boundary"].toString() + "\""}));

    const QJsonArray parts = mail["parts"].toArray();
    ASSERT_EQ(parts.size(), 3);
    const auto contents = [&](int i) {
        return QByteArray::fromBase64(parts[i].toObject()["contents"].toString().toLatin1())
            .toStdString();
    };
    EXPECT_EQ(parts[0].toObject()["type"].toString(), "text/plain");
    EXPECT_EQ(parts[0].toObject()["charset"].toString(), "us-ascii");
    // The parser may give the lines LF or CR LF ends, and the line end before a boundary
    // belongs to the boundary; the lines themselves must be intact.
    EXPECT_EQ(QByteArray::fromStdString(contents(0)).replace("\r\n", "\n").toStdString(),
              "Here is my team.\n.\n.x\n\nThanks.");
    EXPECT_EQ(parts[1].toObject()["filename"].toString(), "every-byte.zip");
    EXPECT_EQ(parts[1].toObject()["type"].toString(), "application/octet-stream");
    EXPECT_TRUE(contents(1) == everyByte) << "the 1 MiB attachment differs";
    EXPECT_EQ(parts[2].toObject()["filename"].toString(), "empty.zip");
    EXPECT_EQ(contents(2), "");
}

}  // namespace
}  // namespace rostrix
