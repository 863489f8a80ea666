// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <random>
#include <regex>

#include "package/MailMessage.h"

namespace rostrix {
namespace {

using Lines = std::vector<std::string>;

TEST(MailMessage, ReplyCodesRecipientAddressesAndTextLines) {
    const std::pair<std::string, long long> codes[] = {
        {"250 ok\r\n", 250}, {"354-more", 354}, {"", 0}, {" 250", 0}, {"99999999999", 9999999999}};
    for (const auto& [line, code] : codes) EXPECT_EQ(replyCode(line), code) << line;

    const std::pair<std::string, std::string> addresses[] = {
        {"Team Library <teams@x.org>", "teams@x.org"},
        {"<a@b> <c@d>", "a@b"},
        {"<a@b", "a@b"},
        {"<>", ""},
        {"smtp:a@b", "a@b"},
        {"x:a@b:c", "a@b"},
        {"a@b", "a@b"}};
    for (const auto& [entry, address] : addresses)
        EXPECT_EQ(recipientAddress(entry), address) << entry;

    const std::pair<std::string, Lines> texts[] = {
        {"", {}}, {"a\n", {"a"}}, {"a\n\n", {"a", ""}}, {"a\r\nb\rc", {"a", "b", "c"}}};
    for (const auto& [text, lines] : texts) EXPECT_EQ(textLines(text), lines) << text;
}

// A line break inside a body entry must not let a "." line end the data early.
TEST(MailMessage, DotStuffingCoversLinesInsideAnEntry) {
    const std::pair<std::string, std::string> stuffed[] = {
        {"x\r\n.\r\nQUIT", "x\r\n..\r\nQUIT\r\n"}, {"x\n.y", "x\r\n..y\r\n"}, {"a.b", "a.b\r\n"}};
    for (const auto& [line, wire] : stuffed) {
        std::string out;
        appendMessageLine(out, line);
        EXPECT_EQ(out, wire) << line;
    }
}

// Every length around the line and group edges, against an encoder we did not write.
TEST(MailMessage, Base64InSixtyCharacterLines) {
    std::mt19937 random(3);
    for (std::size_t size : {0, 1, 2, 3, 44, 45, 46, 89, 90, 91, 4096}) {
        std::string data(size, '\0');
        for (char& c : data) c = static_cast<char>(random());
        const std::string plain = QByteArray::fromStdString(data).toBase64().toStdString();
        std::string expected = "prefix";
        for (std::size_t at = 0; at < plain.size(); at += 60)
            expected += plain.substr(at, 60) + "\r\n";
        std::string encoded = "prefix";
        appendBase64Lines(encoded, data);
        EXPECT_EQ(encoded, expected) << size;
        EXPECT_EQ(base64LinesSize(size), expected.size() - 6) << size;
    }
}

TEST(MailMessage, BoundaryLettersRunFromAToY) {
    EXPECT_EQ(makeBoundary([](int n) { return n - 1; }), "====================54535yyyyyy====");
    std::mt19937 random(1);
    for (int i = 0; i < 50; ++i) {
        const std::string b = makeBoundary([&](int n) { return static_cast<int>(random() % n); });
        EXPECT_TRUE(std::regex_match(b, std::regex("={20}54535[a-y]{6}={4}"))) << b;
    }
}

TEST(MailMessage, HeaderValuesStayOnTheirLineAndSubTypesNameTheirType) {
    TMailMessage m;
    m.FromName = "Me\r\n";
    m.FromAddress = "me@x.org";
    m.ToCarbonCopy = {"c@x.org", "d\n@x.org"};
    m.ReplyTo = "r\r@x.org";
    EXPECT_EQ(mailHeaderLines(m, mtPlain, "us-ascii", "B"),
              (Lines{"From: Me  <me@x.org>", "CC: c@x.org,d @x.org", "Reply-To: r @x.org",
                     "Mime-Version: 1.0", "Content-Type: multipart/mixed; boundary=\"B\""}));
    const std::pair<TSubType, std::string> types[] = {{mtEnriched, "text/enriched"},
                                                      {mtSgml, "text/sgml"},
                                                      {mtTabSeperated, "text/tab-separated-values"},
                                                      {mtHtml, "text/html"}};
    for (const auto& [type, name] : types)
        EXPECT_EQ(mailHeaderLines(m, type, "latin1", "").back(),
                  "Content-Type: " + name + "; charset=latin1");
}

}  // namespace
}  // namespace rostrix
