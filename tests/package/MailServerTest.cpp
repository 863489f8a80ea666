// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>

#include "package/MailMessage.h"
#include "package/MailServer.h"
#include "package/SmtpReply.h"
#include "support/core/ErrorOf.h"

namespace rostrix {
namespace {

using test::errorOf;

TEST(MailServer, HostBoxAndSecurityPickAddressPortAndExchange) {
    using S = MailSecurity;
    struct Case {
        std::string box, security;
        std::string host;
        int port;
        S exchange;
    };
    const Case cases[] = {
        {"mail.example", "", "mail.example", 25, S::Plain},
        {"mail.example:25", "", "mail.example", 25, S::Plain},
        {"smtp.example:587", "", "smtp.example", 587, S::StartTls},
        {"smtp.example:2525", "", "smtp.example", 2525, S::StartTls},
        {"smtp.example:465", "", "smtp.example", 465, S::Tls},
        {"192.0.2.7:465", "", "192.0.2.7", 465, S::Tls},
        {"[::1]:2525", "", "::1", 2525, S::StartTls},
        {"[::1]", "", "::1", 25, S::Plain},
        {"::1", "", "::1", 25, S::Plain},
        {"fe80::1:2", "", "fe80::1:2", 25, S::Plain},
        {"smtp.example", "starttls", "smtp.example", 587, S::StartTls},
        {"smtp.example", "tls", "smtp.example", 465, S::Tls},
        {"smtp.example:25", "tls", "smtp.example", 25, S::Tls},
        {"smtp.example:587", "plain", "smtp.example", 587, S::Plain},
        {"smtp.example", "plain", "smtp.example", 25, S::Plain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box + " / " + c.security);
        const MailServer server = mailServer(c.box, c.security);
        EXPECT_EQ(server.host, c.host);
        EXPECT_EQ(server.port, c.port);
        EXPECT_EQ(server.security, c.exchange);
    }
    const std::pair<std::string, std::string> refused[] = {
        {"mail.example:", "\"mail.example:\" is not a mail server address: use host, host:port or [IPv6]:port"},
        {":25", "\":25\" is not a mail server address: use host, host:port or [IPv6]:port"},
        {"[::1", "\"[::1\" is not a mail server address: use host, host:port or [IPv6]:port"},
        {"[::1]587", "\"[::1]587\" is not a mail server address: use host, host:port or [IPv6]:port"},
        {"[]:25", "\"[]:25\" is not a mail server address: use host, host:port or [IPv6]:port"},
        {"mail example", "\"mail example\" is not a mail server address: use host, host:port or [IPv6]:port"},
        {"mail.example:0", "The port in \"mail.example:0\" must be a number from 1 to 65535"},
        {"mail.example:65536", "The port in \"mail.example:65536\" must be a number from 1 to 65535"},
        {"mail.example:5x", "The port in \"mail.example:5x\" must be a number from 1 to 65535"},
        {"mail.example:-25", "The port in \"mail.example:-25\" must be a number from 1 to 65535"},
        {"mail.example\r\nHELO x", "The mail server address contains a line break"},
    };
    for (const auto& [box, error] : refused) EXPECT_EQ(errorOf([&] { mailServer(box, ""); }), error);
    EXPECT_EQ(errorOf([] { mailServer("mail.example", "STARTTLS"); }),
              "Security in section [Mail] of qrdTeams.ini must be plain, starttls or tls, not "
              "\"STARTTLS\"");
}

TEST(SmtpReply, LinesNeedThreeDigitsAndSayWhetherMoreFollow) {
    struct Case {
        std::string line;
        int code;
        bool more;
    };
    const Case good[] = {{"250 ok\r\n", 250, false}, {"250-a\r\n", 250, true},
                         {"354\r\n", 354, false},    {"220", 220, false},
                         {"554 ", 554, false},       {"250-", 250, true}};
    for (const Case& c : good) {
        const ReplyLine r = replyLine(c.line);
        EXPECT_EQ(r.code, c.code) << c.line;
        EXPECT_EQ(r.more, c.more) << c.line;
    }
    for (const std::string bad : {"rejected, no code here\r\n", "25 ok\r\n", "2500 ok\r\n",
                                  " 250 ok\r\n", "250x\r\n", "\r\n", "25\r\n"})
        EXPECT_EQ(errorOf([&] { replyLine(bad); }),
                  "The mail server's reply has no three-digit code: " + withoutLineEnd(bad));
    for (const std::string odd : {"199 fine\r\n", "600 x\r\n", "000\r\n", "100-a\r\n"})
        EXPECT_EQ(errorOf([&] { replyLine(odd); }),
                  "The mail server's reply has an unknown code: " + withoutLineEnd(odd));
}

// EHLO replies as current providers word them.
TEST(SmtpReply, CapabilitiesFromEhloReplies) {
    struct Case {
        std::vector<std::string> lines;
        bool startTls, auth, plain, login;
    };
    const Case cases[] = {
        {{"250-smtp.example at your service, [192.0.2.1]", "250-SIZE 35882577", "250-8BITMIME",
          "250-STARTTLS", "250-ENHANCEDSTATUSCODES", "250-PIPELINING", "250-CHUNKING",
          "250 SMTPUTF8"},
         true, false, false, false},
        {{"250-smtp.example at your service", "250-SIZE 35882577",
          "250-AUTH LOGIN PLAIN XOAUTH2 PLAIN-CLIENTTOKEN OAUTHBEARER XOAUTH", "250 SMTPUTF8"},
         false, true, true, true},
        {{"250-mail.example Hello", "250-AUTH=LOGIN", "250-AUTH CRAM-MD5", "250 HELP"},
         false, true, false, true},
        {{"250-mail.example", "250-auth xoauth2 plain", "250 starttls"}, true, true, true, false},
        // The first line is the server's name, even when it looks like a keyword.
        {{"250-STARTTLS", "250 AUTHENTICATE PLAIN"}, false, false, false, false},
        {{"250 mail.example"}, false, false, false, false},
        {{"250-x", "250-STARTTLS NOW", "250 AUTH PLAINER"}, false, true, false, false},
    };
    for (const Case& c : cases) {
        const Capabilities caps = capabilities(c.lines);
        SCOPED_TRACE(c.lines.front());
        EXPECT_EQ(caps.startTls, c.startTls);
        EXPECT_EQ(caps.auth, c.auth);
        EXPECT_EQ(caps.authPlain, c.plain);
        EXPECT_EQ(caps.authLogin, c.login);
    }
}

TEST(MailMessage, DateIsEnglishWithTheLocalOffset) {
    const char* savedTz = std::getenv("TZ");
    const std::string saved = savedTz ? savedTz : "";
    const std::time_t when = 1796655845;  // 2026-12-07 15:04:05 UTC, a Monday
    const std::pair<const char*, const char*> cases[] = {
        {"UTC0", "Mon, 07 Dec 2026 15:04:05 +0000"},
        {"CET-1", "Mon, 07 Dec 2026 16:04:05 +0100"},
        {"<-0330>3:30", "Mon, 07 Dec 2026 11:34:05 -0330"},
        {"<+14>-14", "Tue, 08 Dec 2026 05:04:05 +1400"},
    };
    for (const auto& [zone, text] : cases) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        EXPECT_EQ(mailDate(when), text) << zone;
    }
    if (savedTz)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    int n = 0;
    const std::string id = makeMessageId("pc.example", [&n](int k) { return n++ % k; });
    EXPECT_TRUE(std::regex_match(id, std::regex("<[a-z0-9]{24}@pc\\.example>"))) << id;
}

// A name with a quote, a line break or a non-ASCII letter is sent in the encoded form, so it
// cannot cut the header; a plain name is sent quoted as always.
TEST(MailMessage, AttachmentNamesThatNeedEncoding) {
    const std::pair<std::string, std::string> cases[] = {
        {"/t/27ALnya.zip", "name=\"27ALnya.zip\"|filename=\"27ALnya.zip\""},
        {"/t/my team.zip", "name=\"my team.zip\"|filename=\"my team.zip\""},
        {"/t/say \"hi\".zip", "name*=utf-8''say%20%22hi%22.zip|filename*=utf-8''say%20%22hi%22.zip"},
        {"/t/a\r\nb.zip", "name*=utf-8''a%0D%0Ab.zip|filename*=utf-8''a%0D%0Ab.zip"},
        {"/t/\xc3\xa9quipe.zip", "name*=utf-8''%C3%A9quipe.zip|filename*=utf-8''%C3%A9quipe.zip"},
        {"/t/\xe9quipe.zip", "name*=iso-8859-1''%E9quipe.zip|filename*=iso-8859-1''%E9quipe.zip"},
        {"/t/back\\slash;x.zip",
         "name*=utf-8''back%5Cslash%3Bx.zip|filename*=utf-8''back%5Cslash%3Bx.zip"},
    };
    for (const auto& [path, want] : cases) {
        const std::string header = attachmentPartHeader("B", path);
        const std::string name = want.substr(0, want.find('|'));
        const std::string filename = want.substr(want.find('|') + 1);
        EXPECT_EQ(header, "--B\r\nContent-Type: application/octet-stream; " + name +
                              "\r\nContent-Transfer-Encoding: base64\r\n"
                              "Content-Disposition: attachment; " +
                              filename + "\r\n\r\n")
            << path;
    }
}

}  // namespace
}  // namespace rostrix
