// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <chrono>
#include <regex>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

#include "package/SmtpClient.h"
#include "support/core/ErrorOf.h"
#include "support/core/LoopbackServer.h"
#include "support/core/SmtpScriptServer.h"
#include "support/core/TempFolder.h"
#include "support/core/ThrowawayCa.h"
#include "support/core/TlsTestServer.h"

namespace rostrix {
namespace {

using test::errorOf;
using test::SmtpScriptServer;
using test::TempFolder;
using Events = std::vector<std::string>;

// A client pointed at a scripted server, with every event written to a log.
struct Mailer {
    TSmtpClient smtp;
    Events events;

    explicit Mailer(const SmtpScriptServer& server) {
        smtp.Host = "127.0.0.1";
        smtp.Port = server.port();
        smtp.OnConnect = [this] { events.push_back("connect"); };
        smtp.OnSendStart = [this] { events.push_back("send start"); };
        smtp.OnSuccess = [this] { events.push_back("success"); };
        smtp.OnFailure = [this] { events.push_back("failure"); };
        smtp.OnEncodeStart = [this](const std::string& f) { events.push_back("encode " + f); };
        smtp.OnEncodeEnd = [this](const std::string& f) { events.push_back("encoded " + f); };
        smtp.OnAttachmentNotFound = [this](const std::string& f) {
            events.push_back("not found " + f);
        };
        smtp.OnRecipientNotFound = [this](const std::string& r) {
            events.push_back("refused " + r);
        };
        smtp.MailMessage.FromAddress = "coach@club.example";
        smtp.MailMessage.ToAddress = {"teams@library.example.org"};
    }
    std::string send() {
        return errorOf([&] {
            smtp.Connect();
            smtp.SendMail();
            smtp.Disconnect();
        });
    }
    std::string advice(const std::string& error) const {  // the line under the error box's
        return sendFailureAdvice(smtp.stage(), error, {smtp.Host, smtp.Port, smtp.Security});
    }
    // After a failure: QUIT, so the server has seen everything the client sent.
    void finish() {
        errorOf([&] { smtp.Disconnect(); });
    }
};

const std::string kLine60 = "MTkyNyBOZXcgWW9yayBZYW5rZWVzOiBSdXRoLCBHZWhyaWcsIExhenplcmks";
const std::string kTeamBytes = "1927 New York Yankees: Ruth, Gehrig, Lazzeri, Combs, Meusel.\n";

TEST(SmtpClient, ExactTranscriptOfAPlainMessage) {
    SmtpScriptServer server;
    Mailer m(server);
    m.smtp.MailMessage.Subject = "1927 Yankees";
    m.smtp.MailMessage.ReplyTo = "coach@club.example";
    m.smtp.MailMessage.Body = {"Here is my team.", "", ".signed"};
    EXPECT_EQ(m.send(), "<no error>");
    EXPECT_EQ(server.received(),
              "HELO \r\n"
              "RSET\r\n"
              "MAIL FROM:<coach@club.example>\r\n"
              "RCPT TO:<teams@library.example.org>\r\n"
              "DATA\r\n"
              "From: <coach@club.example>\r\n"
              "To: teams@library.example.org\r\n"
              "Subject: 1927 Yankees\r\n"
              "Reply-To: coach@club.example\r\n"
              "Mime-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=us-ascii\r\n"
              "\r\n"
              "\r\n"
              "Here is my team.\r\n"
              "\r\n"
              "..signed\r\n"
              ".\r\n"
              "QUIT\r\n");
    EXPECT_EQ(m.events, (Events{"connect", "send start", "success"}));
    EXPECT_FALSE(m.smtp.connected());
}

TEST(SmtpClient, ExactTranscriptWithTwoAttachments) {
    TempFolder folder;
    folder.write("27ALnya.zip", kTeamBytes);
    folder.write("empty.zip", "");
    SmtpScriptServer server;
    Mailer m(server);
    const std::string team = folder.file("27ALnya.zip"), empty = folder.file("empty.zip");
    m.smtp.MailMessage.Attachments = {team, empty};
    m.smtp.MailMessage.Body = {"Two files."};
    EXPECT_EQ(m.send(), "<no error>");

    const std::string wire = server.received();
    std::smatch found;
    ASSERT_TRUE(
        std::regex_search(wire, found, std::regex("boundary=\"(={20}54535[a-y]{6}={4})\"")));
    const std::string b = found[1];
    EXPECT_EQ(wire,
              "HELO \r\nRSET\r\nMAIL FROM:<coach@club.example>\r\n"
              "RCPT TO:<teams@library.example.org>\r\nDATA\r\n"
              "From: <coach@club.example>\r\n"
              "To: teams@library.example.org\r\n"
              "Mime-Version: 1.0\r\n"
              "Content-Type: multipart/mixed; boundary=\"" +
                  b +
                  "\"\r\n"
                  "\r\n\r\n"
                  "--" +
                  b +
                  "\r\n"
                  "Content-Type: text/plain; charset=us-ascii\r\n\r\n"
                  "Two files.\r\n"
                  "--" +
                  b +
                  "\r\n"
                  "Content-Type: application/octet-stream; name=\"27ALnya.zip\"\r\n"
                  "Content-Transfer-Encoding: base64\r\n"
                  "Content-Disposition: attachment; filename=\"27ALnya.zip\"\r\n\r\n" +
                  kLine60 +
                  "\r\nIENvbWJzLCBNZXVzZWwuCg==\r\n"
                  "--" +
                  b +
                  "\r\n"
                  "Content-Type: application/octet-stream; name=\"empty.zip\"\r\n"
                  "Content-Transfer-Encoding: base64\r\n"
                  "Content-Disposition: attachment; filename=\"empty.zip\"\r\n\r\n"
                  "--" +
                  b +
                  "--\r\n"
                  ".\r\nQUIT\r\n");
    EXPECT_EQ(m.events, (Events{"connect", "encode " + team, "encoded " + team, "encode " + empty,
                                "encoded " + empty, "send start", "success"}));
    EXPECT_TRUE(m.smtp.MailMessage.Attachments.empty());
    EXPECT_TRUE(m.smtp.MailMessage.ToAddress.empty());
}

// What goes on the wire in the exchanges a plausible fault would get wrong. Events are
// listed joined by ", "; <f> stands for the case's folder.
TEST(SmtpClient, ScriptedExchanges) {
    using Setup = std::function<void(Mailer&, const TempFolder&)>;
    using Wire = std::vector<std::string>;
    const Setup none = [](Mailer&, const TempFolder&) {};
    const Setup newUserId = [](Mailer& m, const TempFolder&) {
        m.smtp.OnAuthenticationFailed = [&m](bool& handled) {
            m.events.push_back("auth");
            m.smtp.UserID = "coach";
            handled = true;
        };
    };
    const auto attach = [](std::string name, std::string bytes) {
        return [=](Mailer& m, const TempFolder& f) {
            QDir(QString::fromStdString(f.path())).mkpath("sub");
            f.write(name, bytes);
            m.smtp.MailMessage.Attachments = {f.file(name)};
        };
    };
    const auto body = [](std::vector<std::string> lines) {
        return [=](Mailer& m, const TempFolder&) { m.smtp.MailMessage.Body = lines; };
    };
    const auto from = [](std::string address) {
        return [=](Mailer& m, const TempFolder&) { m.smtp.MailMessage.FromAddress = address; };
    };
    const auto to = [](std::vector<std::string> entries) {
        return [=](Mailer& m, const TempFolder&) { m.smtp.MailMessage.ToAddress = entries; };
    };
    const Setup lateSender = [](Mailer& m, const TempFolder&) {
        m.smtp.MailMessage.FromAddress = "";
        m.smtp.OnHeaderIncomplete = [&m](bool& handled, int type) {
            m.events.push_back("incomplete " + std::to_string(type));
            m.smtp.MailMessage.FromAddress = "late@club.example";
            handled = true;
        };
    };
    const auto twoSends = [](Mailer& m) {
        m.smtp.Connect();
        m.smtp.SendMail();
        m.events.clear();
        m.smtp.SendMail();  // no encoding events: the attachments went with the recipients
    };
    struct Case {
        const char* name;
        SmtpScriptServer::Replies replies;
        Setup setup;
        std::string error;
        std::string events;
        Wire onWire;  // in this order
        Wire notOnWire;
        std::string greeting = "220 ready\r\n";
        std::function<void(Mailer&)> act = {};
    };
    const std::string sent = "connect, send start, success";
    std::string line60;  // 45 bytes "@"
    for (int i = 0; i < 15; ++i) line60 += "QEBA";
    // clang-format off
    const Case cases[] = {
        {"empty user id", {}, none, "", sent, {"HELO \r\nRSET\r\n"}, {}},
        {"refused, then accepted after the handler", {{"HELO", {"501 who\r\n"}}}, newUserId,
         "", "auth, " + sent, {"HELO \r\nHELO coach\r\nRSET\r\n"}, {}},
        {"refused twice", {{"HELO", {"501 who\r\n", "550 no\r\n"}}}, newUserId,
         "Authentication failed", "auth", {"HELO \r\nHELO coach\r\nQUIT\r\n"}, {"RSET"}},
        {"refused without a handler", {{"HELO", {"501 who\r\n"}}}, none,
         "Authentication failed", "", {"HELO \r\nQUIT\r\n"}, {}},
        {"greeting of three lines, all read before HELO", {{"HELO", {"501 no\r\n"}}}, none,
         "Authentication failed", "", {"HELO \r\nQUIT\r\n"}, {}, "220-a\r\n220-b\r\n220 c\r\n"},
        {"HELO reply of two lines", {{"HELO", {"250-hi\r\n250 HELP\r\n"}}, {"RSET", {"451 busy\r\n"}}},
         none, "451 busy", "connect, send start", {"RSET\r\nQUIT\r\n"}, {"MAIL"}},
        {"greeting refused", {}, none, "554 no service", "", {"QUIT\r\n"}, {"HELO"},
         "554 no service\r\n"},
        {"dot-stuffing", {}, body({".", ".x", "a.b", ".."}), "", sent,
         {"\r\n\r\n..\r\n..x\r\na.b\r\n...\r\n.\r\nQUIT"}, {}},
        {"46-byte attachment", {}, attach("a.zip", std::string(46, '@')),
         "", "connect, encode <f>/a.zip, encoded <f>/a.zip, " + sent.substr(9),
         {"\r\n\r\n" + line60 + "\r\nQA==\r\n--"}, {}},
        {"bare names", {}, attach("sub/team.zip", "x"),
         "", "connect, encode <f>/sub/team.zip, encoded <f>/sub/team.zip, " + sent.substr(9),
         {"name=\"team.zip\"\r\n", "filename=\"team.zip\"\r\n"}, {"sub/"}},
        {"no attachments: no boundary; empty subject: no line", {}, none, "", sent,
         {"Mime-Version: 1.0\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\n\r\n.\r\n"},
         {"multipart", "--=", "Subject"}},
        {"subject with line breaks", {}, [](Mailer& m, const TempFolder&) {
             m.smtp.MailMessage.Subject = "a\r\nBcc: b@x"; },
         "", sent, {"Subject: a  Bcc: b@x\r\n"}, {}},
        {"sender supplied by the handler reaches the envelope only", {}, lateSender,
         "", "connect, incomplete 1, send start, success",
         {"MAIL FROM:<late@club.example>\r\n", "From: <>\r\n"}, {}},
        {"two recipients", {}, to({"a@x.example", "Bee <b@x.example>"}), "", sent,
         {"RCPT TO:<a@x.example>\r\nRCPT TO:<b@x.example>\r\nDATA",
          "To: a@x.example,Bee <b@x.example>\r\n"}, {}},
        {"cleared after a send, so the next one is incomplete", {}, attach("a.zip", "x"),
         "Incomplete Header", "", {".\r\nQUIT\r\n"}, {}, "220 ready\r\n", twoSends},
        {"refused recipient", {{"RCPT", {"550 no such user\r\n"}}},
         to({"Nobody <nobody@x.example>", "teams@x.example"}),
         "", "connect, send start, refused Nobody <nobody@x.example>, success",
         {"RCPT TO:<teams@x.example>\r\nDATA\r\n"}, {}},
        {"554 to the end of the data", {{".", {"554 rejected as spam\r\n"}}}, none,
         "554 rejected as spam", "connect, send start, failure", {".\r\nQUIT\r\n"}, {}},
        {"sender refused", {{"MAIL", {"553 bad sender\r\n"}}}, none, "553 bad sender",
         "connect, send start", {"MAIL FROM:<coach@club.example>\r\nQUIT\r\n"}, {}},
        {"data refused", {{"DATA", {"503 no valid recipients\r\n"}}}, none,
         "503 no valid recipients", "connect, send start", {"DATA\r\nQUIT\r\n"}, {}},
        {"missing attachment: nothing sent after HELO", {},
         [](Mailer& m, const TempFolder& f) { m.smtp.MailMessage.Attachments = {f.file("gone.zip")}; },
         "Cannot open file <f>/gone.zip", "connect, encode <f>/gone.zip, not found <f>/gone.zip",
         {"HELO \r\nQUIT\r\n"}, {"RSET"}},
        {"server hangs up instead of accepting", {{".", {SmtpScriptServer::kHangUp}}}, none,
         "10054:Connection reset by peer", "connect, send start", {".\r\n"}, {}},
        {"QUIT refused", {{"QUIT", {"500 what\r\n"}}}, none, "500 what", sent,
         {".\r\nQUIT\r\n"}, {"QUIT\r\nQUIT"}},
        {"a handler closes the connection mid-send", {}, [](Mailer& m, const TempFolder&) {
             m.smtp.OnSendStart = [&m] { m.smtp.Disconnect(); }; },
         "Not Connected", "connect", {"HELO \r\nQUIT\r\n"}, {"RSET"}},
        {"RCPT answered in four lines, then the end of the data refused",
         {{"RCPT", {"250-a\r\n250-b\r\n250-c\r\n250 d\r\n"}}, {".", {"554 rejected: spam\r\n"}}},
         none, "554 rejected: spam", "connect, send start, failure", {"DATA\r\n", ".\r\nQUIT\r\n"}, {}},
        {"go-ahead and acceptance in several lines",
         {{"DATA", {"354-go\r\n354 on\r\n"}}, {".", {"250-queued\r\n250 as 42\r\n"}},
          {"MAIL", {"250-fine\r\n250 ok\r\n"}}},
         none, "", sent, {"MAIL FROM", "RCPT TO", "DATA\r\nFrom: ", ".\r\nQUIT\r\n"}, {}},
        {"refusal of the end of the data in two lines", {{".", {"554-5.7.1 no\r\n554 spam\r\n"}}},
         none, "554 spam", "connect, send start, failure", {".\r\nQUIT\r\n"}, {}},
        {"a line without a code", {{".", {"rejected, no code here\r\n"}}}, none,
         "The mail server's reply has no three-digit code: rejected, no code here",
         "connect, send start", {".\r\nQUIT\r\n"}, {}},
        {"a code of two digits", {{"RCPT", {"25 ok\r\n"}}}, none,
         "The mail server's reply has no three-digit code: 25 ok", "connect, send start",
         {"RCPT TO:<teams@library.example.org>\r\nQUIT\r\n"}, {"DATA"}},
        {"DATA answered without a go-ahead", {{"DATA", {"250 ok\r\n"}}}, none, "250 ok",
         "connect, send start", {"DATA\r\nQUIT\r\n"}, {"From: "}},
        {"DATA answered without a code", {{"DATA", {"go away\r\n"}}}, none,
         "The mail server's reply has no three-digit code: go away", "connect, send start",
         {"DATA\r\nQUIT\r\n"}, {"From: "}},
        {"a greeting of 1,001 lines", {}, none,
         "The mail server's reply is longer than 1,000 lines or 1 MiB", "", {"QUIT\r\n"}, {"HELO"},
         [] { std::string g; for (int i = 0; i < 1000; ++i) g += "220-x\r\n"; return g + "220 x\r\n"; }()},
        {"a greeting of 1,000 lines", {}, none, "", sent, {"HELO \r\n"}, {},
         [] { std::string g; for (int i = 0; i < 999; ++i) g += "220-x\r\n"; return g + "220 x\r\n"; }()},
        // The client stops reading at 1 MiB; the server, still writing the rest, may lose
        // the QUIT to the reset, so only the HELO that must never go is checked.
        {"a greeting over 1 MiB", {}, none,
         "The mail server's reply is longer than 1,000 lines or 1 MiB", "", {}, {"HELO"},
         [] { std::string g; for (int i = 0; i < 20; ++i) g += "220-" + std::string(60000, 'x') + "\r\n"; return g + "220 x\r\n"; }()},
        // Replies read strictly: one code per reply, 2xx to 5xx, the last line whole; 421
        // ends the session; only 2xx to the end of the data is an acceptance.
        {"mixed codes in the greeting", {}, none,
         "The mail server's reply changes its code: 220 ready", "", {"QUIT\r\n"}, {"HELO"},
         "554-5.3.2 not now\r\n220 ready\r\n"},
        {"a refusal continued as an acceptance", {{"RCPT", {"550-Rejected\r\n250 but ok\r\n"}}},
         none, "The mail server's reply changes its code: 250 but ok", "connect, send start",
         {"RCPT TO:"}, {"DATA"}},
        {"acceptance cut off by the end of the connection",
         {{".", {"250 2.0.0 queu" + std::string(SmtpScriptServer::kHangUp)}}}, none,
         "The mail server closed the connection in the middle of a reply", "connect, send start",
         {".\r\n"}, {}},
        {"421 ends the session", {{"RSET", {"421 4.3.2 shutting down\r\n"}}}, none,
         "421 4.3.2 shutting down", "connect, send start", {"RSET\r\n"}, {"MAIL", "QUIT"}},
        {"354 to the end of the data", {{".", {"354 go on\r\n"}}}, none, "354 go on",
         "connect, send start, failure", {".\r\nQUIT\r\n"}, {}},
        {"199 to the end of the data", {{".", {"199 fine\r\n"}}}, none,
         "The mail server's reply has an unknown code: 199 fine", "connect, send start",
         {".\r\nQUIT\r\n"}, {}},
        {"the only recipient refused", {{"RCPT", {"550 5.1.1 no such user\r\n"}}}, none,
         "550 5.1.1 no such user", "connect, send start, refused teams@library.example.org",
         {"RCPT TO:<teams@library.example.org>\r\nQUIT\r\n"}, {"DATA"}},
        {"421 to QUIT after the acceptance", {{"QUIT", {"421 4.4.2 bye\r\n"}}}, none, "", sent,
         {".\r\nQUIT\r\n"}, {}},
        {"line break in the user id", {}, [](Mailer& m, const TempFolder&) {
             m.smtp.UserID = "coach\r\nRSET"; },
         "The user id contains a line break", "", {"QUIT\r\n"}, {"HELO"}},
        {"line break in the sender", {}, from("a@x>\r\nRCPT TO:<evil@x.example"),
         "The sender address contains a line break", "connect", {"HELO \r\nQUIT\r\n"},
         {"RSET", "evil"}},
        {"line break in a recipient", {}, to({"b@x.example\nDATA"}),
         "A recipient address contains a line break", "connect", {"HELO \r\nQUIT\r\n"},
         {"RSET"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        SmtpScriptServer server(c.replies, c.greeting);
        Mailer m(server);
        c.setup(m, folder);
        const std::string error = c.act ? errorOf([&] { c.act(m); }) : m.send();
        const auto inFolder = [&](std::string text) {
            for (std::size_t at; (at = text.find("<f>")) != std::string::npos;)
                text.replace(at, 3, folder.path());
            return text;
        };
        EXPECT_EQ(error, c.error.empty() ? "<no error>" : inFolder(c.error));
        m.finish();
        std::string events;
        for (const std::string& e : m.events) events += (events.empty() ? "" : ", ") + e;
        EXPECT_EQ(events, inFolder(c.events));
        const std::string wire = server.received();
        std::size_t at = 0;
        for (const std::string& piece : c.onWire) {
            const std::size_t found = wire.find(piece, at);
            EXPECT_NE(found, std::string::npos) << piece << "\nin\n" << wire;
            if (found != std::string::npos) at = found + piece.size();
        }
        for (const std::string& piece : c.notOnWire)
            EXPECT_EQ(wire.find(piece), std::string::npos) << piece << "\nin\n" << wire;
    }
}

TEST(SmtpClient, ConnectionFailuresHaveTheirTexts) {
    SmtpScriptServer server;
    TSmtpClient smtp;
    smtp.Port = server.port();
    smtp.Host = "mail.example";
    smtp.socket().resolver = [](const std::string&) { return std::vector<SocketAddress>{}; };
    EXPECT_EQ(errorOf([&] { smtp.Connect(); }), "Null Remote Address");
    smtp.socket().resolver = systemResolve;
    smtp.Host = "127.0.0.1\r\nHELO evil";
    EXPECT_EQ(errorOf([&] { smtp.Connect(); }), "The mail server address contains a line break");
    smtp.Host = "127.0.0.1";
    smtp.MailMessage.FromAddress = "a@x.example";
    smtp.MailMessage.ToAddress = {"b@x.example"};
    EXPECT_EQ(errorOf([&] { smtp.SendMail(); }), "Not Connected");
    smtp.Connect();
    EXPECT_EQ(errorOf([&] { smtp.Connect(); }), "Already connected");
    smtp.Disconnect();
    EXPECT_FALSE(smtp.connected());
    smtp.Port = test::LoopbackServer::closedPort();
    EXPECT_EQ(errorOf([&] { smtp.Connect(); }), "Connection Failed");
    EXPECT_EQ(sendFailureAdvice(smtp.stage(), "Connection Failed", {smtp.Host, smtp.Port}).rfind(
                  "Nothing answered on 127.0.0.1 port " + std::to_string(smtp.Port) + ".", 0),
              0u);
    EXPECT_EQ(server.received(), "HELO \r\nQUIT\r\n");
}

// A silent server ends the exchange after the stall limit; the reply to the end of the
// data has the longer one.
TEST(SmtpClient, SilentServerTimesOut) {
    using Clock = std::chrono::steady_clock;
    struct Case {
        SmtpScriptServer::Replies replies;
        std::string greeting;
        int atLeastMs;
        std::string advice;  // its start
    };
    const Case cases[] = {
        {{}, "", 300, "127.0.0.1 port "},  // ends "set [Mail] Security=tls ... or use port 465."
        {{{"RCPT", {""}}}, "220 ready\r\n", 300, "The library has not received the message"},
        {{{".", {""}}}, "220 ready\r\n", 900, "The library has not received the message"},
    };
    for (const Case& c : cases) {
        SmtpScriptServer server(c.replies, c.greeting);
        Mailer m(server);
        m.smtp.StallTimeoutMs = 300;
        m.smtp.FinalReplyTimeoutMs = 900;
        const auto started = Clock::now();
        EXPECT_EQ(m.send(), "10060:Connection timed out") << c.atLeastMs;
        EXPECT_EQ(m.advice("10060:Connection timed out").rfind(c.advice, 0), 0u);
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        EXPECT_GE(took.count(), c.atLeastMs);
        EXPECT_LT(took.count(), c.atLeastMs + 5000);
    }
}

}  // namespace
}  // namespace rostrix

namespace rostrix {
namespace {

// A server that keeps a reply going with a continuation line every 100 ms never finishes
// it: the time limit covers the whole reply, not each line.
TEST(SmtpClient, AReplyThatNeverEndsTimesOut) {
    int port = 0;
    const int listener = test::listenLoopback(port);
    std::atomic<bool> stop{false};
    std::thread server([&] {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        while (!stop && ::send(fd, "220-still here\r\n", 16, MSG_NOSIGNAL) > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::close(fd);
    });
    TSmtpClient smtp;
    smtp.Host = "127.0.0.1";
    smtp.Port = port;
    smtp.StallTimeoutMs = 600;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { smtp.Connect(); }), "10060:Connection timed out");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    EXPECT_GE(took.count(), 600);
    EXPECT_LT(took.count(), 5000);
    stop = true;
    server.join();
    ::close(listener);
}

}  // namespace
}  // namespace rostrix

namespace rostrix {
namespace {

// Until encryption is in place, nothing after EHLO is said in clear: not the login, not the
// message, not even goodbye.
TEST(SmtpClient, SubmissionSaysNothingInClearAfterEhlo) {
    const std::string ehloStartTls = "250-test.example\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n";
    const std::string noEncryption = "The mail server 127.0.0.1 offers no encryption (STARTTLS)";
    struct Case {
        const char* name;
        SmtpScriptServer::Replies replies;
        std::string error;
        std::string received;
    };
    const Case cases[] = {
        {"STARTTLS not offered",
         {{"EHLO", {"250-test.example\r\n250-AUTH PLAIN LOGIN\r\n250 SIZE 1000000\r\n"}}},
         noEncryption, "EHLO rostrix.test\r\n"},
        {"STARTTLS refused", {{"EHLO", {ehloStartTls}}, {"STARTTLS", {"454 4.7.0 TLS not available\r\n"}}},
         noEncryption, "EHLO rostrix.test\r\nSTARTTLS\r\n"},
        {"STARTTLS answered with 250", {{"EHLO", {ehloStartTls}}, {"STARTTLS", {"250 ok\r\n"}}},
         noEncryption, "EHLO rostrix.test\r\nSTARTTLS\r\n"},
        {"commands injected after the go-ahead",
         {{"EHLO", {ehloStartTls}},
          {"STARTTLS", {"220 2.0.0 Ready to start TLS\r\n250-injected\r\n250 AUTH PLAIN\r\n"}}},
         "The mail server 127.0.0.1 sent data before the secure connection began; the "
         "connection was closed for safety",
         "EHLO rostrix.test\r\nSTARTTLS\r\n"},
        {"EHLO refused", {{"EHLO", {"502 5.5.1 EHLO not implemented\r\n"}}},
         "502 5.5.1 EHLO not implemented", "EHLO rostrix.test\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmtpScriptServer server(c.replies);
        Mailer m(server);
        m.smtp.Security = MailSecurity::StartTls;
        m.smtp.LocalName = "rostrix.test";
        m.smtp.Login = "coach@club.example";
        m.smtp.OnPassword = [&m](std::string&) {
            m.events.push_back("password");
            return false;
        };
        EXPECT_EQ(m.send(), c.error);
        EXPECT_EQ(m.advice(c.error).starts_with("Rostrix sends a login only over an encrypted"),
                  c.error == noEncryption);
        EXPECT_FALSE(m.smtp.connected());
        EXPECT_TRUE(m.events.empty());
        EXPECT_EQ(server.received(), c.received);
    }
}

}  // namespace
}  // namespace rostrix

namespace rostrix {
namespace {

// Inside TLS: a greeting trickled byte by byte within one record still ends at the reply's
// time limit (not ten times later), and a 334 to AUTH PLAIN gets "*" before anything else.
TEST(SmtpClient, TlsScriptedExchanges) {
    test::ThrowawayCa ca;
    ASSERT_TRUE(ca.ok());
    const auto cert = ca.issue({"localhost"});
    const std::string plain = "AUTH PLAIN " + QByteArray("\0coach\0pw", 9).toBase64().toStdString();
    const struct {
        std::vector<std::string> replies;  // one after each line heard; the first is trickled
        std::string error;
        std::vector<std::string> heard;
        std::string advice;  // its start
    } cases[] = {
        {{"220 " + std::string(60, 'x') + "\r\n"}, "10060:Connection timed out", {}, ""},
        {{"220 ready\r\n", "250-t.example\r\n250 AUTH PLAIN\r\n", "334 \r\n", "501 cancelled\r\n",
          "221 bye\r\n"},
         "501 cancelled",
         {"EHLO rostrix.test", plain, "*", "QUIT"},
         "The server refused the login: check the User ID"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> heard;
        const auto started = std::chrono::steady_clock::now();
        {
            test::TlsTestServer server(cert, [&](test::TlsPeer& peer) {
                if (!peer.accept()) return;
                if (c.heard.empty()) return peer.sendTrickled(c.replies[0], 150);
                for (std::size_t i = 0; i < c.replies.size(); ++i) {
                    if (i > 0) heard.push_back(withoutLineEnd(peer.readLine()));
                    peer.send(c.replies[i]);
                }
            });
            TSmtpClient smtp;
            smtp.Host = "localhost";
            smtp.Port = server.port();
            smtp.Security = MailSecurity::Tls;
            smtp.LocalName = "rostrix.test";
            smtp.Login = "coach";
            smtp.StallTimeoutMs = 1000;
            smtp.OnPassword = [](std::string& password) {
                password = "pw";
                return true;
            };
            EXPECT_EQ(errorOf([&] { smtp.Connect(); }), c.error);
            const auto advice =
                sendFailureAdvice(smtp.stage(), c.error, {smtp.Host, smtp.Port, smtp.Security});
            EXPECT_EQ(advice.substr(0, c.advice.size()) + (advice.empty() ? "" : "|"),
                      c.advice + (c.advice.empty() ? "" : "|"));
        }
        EXPECT_EQ(heard, c.heard);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6)) << c.error;
    }
}

}  // namespace
}  // namespace rostrix
