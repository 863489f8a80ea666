#include <gtest/gtest.h>

#include <QByteArray>
#include <random>
#include <regex>

#include "package/MailMessage.h"

namespace rostrix {
namespace {

TEST(MailMessage, ReplyCodesAndRecipientAddresses) {
    const std::pair<std::string, long long> codes[] = {
        {"250 ok\r\n", 250}, {"354-more\r\n", 354},         {"", 0},   {"ok 250", 0},
        {" 250", 0},         {"99999999999", 9999999999LL}, {"42", 42}};
    for (const auto& [line, code] : codes) EXPECT_EQ(replyCode(line), code) << line;

    const std::pair<std::string, std::string> addresses[] = {
        {"Team Library <teams@x.org>", "teams@x.org"},
        {"<a@b> and <c@d>", "a@b"},
        {"<a@b", "a@b"},
        {"<>", ""},
        {"smtp:a@b", "a@b"},
        {"x:a@b:c", "a@b"},
        {"a@b", "a@b"},
        {"", ""}};
    for (const auto& [entry, address] : addresses)
        EXPECT_EQ(recipientAddress(entry), address) << entry;
}

TEST(MailMessage, TextLinesAndDotStuffing) {
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> texts[] = {{"", {}},
                                                   {"a", {"a"}},
                                                   {"a\n", {"a"}},
                                                   {"a\n\n", {"a", ""}},
                                                   {"a\r\nb\rc", {"a", "b", "c"}},
                                                   {"\n", {""}}};
    for (const auto& [text, lines] : texts) EXPECT_EQ(textLines(text), lines) << text;

    const std::pair<std::string, std::string> stuffed[] = {
        {".", "..\r\n"},
        {".x", "..x\r\n"},
        {"a.b", "a.b\r\n"},
        {"", "\r\n"},
        // A line break inside an entry can never end the data early.
        {"x\r\n.\r\nQUIT", "x\r\n..\r\nQUIT\r\n"},
        {"x\n.y", "x\r\n..y\r\n"}};
    for (const auto& [line, wire] : stuffed) {
        std::string out;
        appendMessageLine(out, line);
        EXPECT_EQ(out, wire) << line;
    }
}

TEST(MailMessage, Base64InSixtyCharacterLines) {
    std::string out;
    appendBase64Lines(out, std::string(46, 'A'));
    std::string line;
    for (int i = 0; i < 15; ++i) line += "QUFB";
    EXPECT_EQ(out, line + "\r\nQQ==\r\n");

    // Every length around the line and group edges, against an encoder we did not write.
    std::mt19937 random(3);
    for (std::size_t size : {0, 1, 2, 3, 44, 45, 46, 89, 90, 91, 1000, 4096}) {
        std::string data(size, '\0');
        for (char& c : data) c = static_cast<char>(random());
        const std::string plain = QByteArray::fromStdString(data).toBase64().toStdString();
        std::string expected;
        for (std::size_t at = 0; at < plain.size(); at += 60)
            expected += plain.substr(at, 60) + "\r\n";
        std::string encoded = "prefix";
        appendBase64Lines(encoded, data);
        EXPECT_EQ(encoded, "prefix" + expected) << size;
        EXPECT_EQ(base64LinesSize(size), expected.size()) << size;
    }
}

TEST(MailMessage, BoundaryHasItsFixedFrameAndSixLettersAToY) {
    EXPECT_EQ(makeBoundary([](int) { return 0; }), "====================54535aaaaaa====");
    EXPECT_EQ(makeBoundary([](int n) { return n - 1; }), "====================54535yyyyyy====");
    int asked = 0;
    makeBoundary([&](int n) {
        EXPECT_EQ(n, 25);
        return asked++ % n;
    });
    EXPECT_EQ(asked, 6);
    std::mt19937 random(1);
    const std::regex form("={20}54535[a-y]{6}={4}");
    for (int i = 0; i < 50; ++i) {
        const std::string b = makeBoundary([&](int n) { return static_cast<int>(random() % n); });
        EXPECT_TRUE(std::regex_match(b, form)) << b;
    }
}

TEST(MailMessage, HeaderLinesInOrder) {
    TMailMessage m;
    m.FromAddress = "me@x.org";
    m.ToAddress = {"a@x.org", "B <b@x.org>"};
    EXPECT_EQ(mailHeaderLines(m, mtPlain, "us-ascii", ""),
              (std::vector<std::string>{"From: <me@x.org>", "To: a@x.org,B <b@x.org>",
                                        "Mime-Version: 1.0",
                                        "Content-Type: text/plain; charset=us-ascii"}));

    m.FromName = "Me";
    m.ToCarbonCopy = {"c@x.org"};
    m.ToBlindCarbonCopy = {"hidden@x.org"};
    m.Subject = "Team\r\nBcc: evil@x.org";
    m.LocalProgram = "Rostrix";
    m.ReplyTo = "me@x.org";
    m.Date = "today";
    EXPECT_EQ(
        mailHeaderLines(m, mtHtml, "us-ascii", "B"),
        (std::vector<std::string>{"From: Me<me@x.org>", "To: a@x.org,B <b@x.org>", "CC: c@x.org",
                                  "Subject: Team  Bcc: evil@x.org", "X-Mailer: Rostrix",
                                  "Reply-To: me@x.org", "Date: today", "Mime-Version: 1.0",
                                  "Content-Type: multipart/mixed; boundary=\"B\""}));

    const std::pair<TSubType, std::string> types[] = {{mtEnriched, "text/enriched"},
                                                      {mtSgml, "text/sgml"},
                                                      {mtTabSeperated, "text/tab-separated-values"},
                                                      {mtHtml, "text/html"}};
    for (const auto& [type, name] : types)
        EXPECT_EQ(mailHeaderLines(m, type, "latin1", "").back(),
                  "Content-Type: " + name + "; charset=latin1");
}

TEST(MailMessage, PartHeadersNameTheBareFile) {
    EXPECT_EQ(attachmentPartHeader("B", "/home/me/teams/27ALnya.zip"),
              "--B\r\nContent-Type: application/octet-stream; name=\"27ALnya.zip\"\r\n"
              "Content-Transfer-Encoding: base64\r\n"
              "Content-Disposition: attachment; filename=\"27ALnya.zip\"\r\n\r\n");
    EXPECT_EQ(bareFileName("plain.zip"), "plain.zip");
    EXPECT_EQ(textPartHeader("B", "us-ascii"),
              "--B\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\n");
    EXPECT_EQ(closingBoundary("B"), "--B--\r\n");
}

}  // namespace
}  // namespace rostrix
