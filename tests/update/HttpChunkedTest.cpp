// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "platform/Error.h"
#include "support/core/ErrorOf.h"
#include "support/core/LoopbackServer.h"
#include "support/core/TempFolder.h"
#include "update/ChunkedBody.h"
#include "update/HttpClient.h"

namespace rostrix {
namespace {

using test::errorOf;
using test::LoopbackServer;

const char* const kMalformed = "The server's reply is cut into chunks in a way that cannot be read";

// The body decoded from bytes fed in pieces of the given size (0: all at once); "<open>"
// when the last chunk has not come.
std::string decoded(const std::string& bytes, std::size_t piece) {
    ChunkedBody chunks;
    std::string out;
    if (piece == 0) piece = bytes.size() + 1;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        chunks.feed(bytes.substr(at, piece), out);
    return chunks.finished() ? out : out + "<open>";
}

TEST(ChunkedBody, DecodesInPiecesOfAnySizeAndRefusesWhatItCannotRead) {
    const std::pair<std::string, std::string> cases[] = {
        {"5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n", "hello world"},
        // Upper-case hex, extensions, blanks before them, bare LF line ends, trailers.
        {"A;name=x\r\n0123456789\r\n1 \r\n!\n0\r\nExpires: never\r\n\r\n", "0123456789!"},
        {"0\r\n\r\nafter the end", ""},
        {"3\r\nabc\r\n", "abc<open>"},
        {"3\r\nab", "ab<open>"},
        {"", "<open>"},
        {"x\r\nabc\r\n", kMalformed},
        {"\r\nabc\r\n", kMalformed},
        {"3 junk\r\nabc\r\n", kMalformed},
        {"3\r\nabcd\r\n0\r\n\r\n", kMalformed},  // longer than it said
        {"fffffffffffffffffff\r\n", kMalformed},
        {std::string(2000, '1'), kMalformed},
        {"0\r\n" + std::string(70000, 't'), kMalformed},
    };
    for (const auto& [bytes, body] : cases) {
        for (const std::size_t piece : {0, 1, 2, 7}) {
            std::string got;
            try {
                got = decoded(bytes, piece);
            } catch (const Error& e) {
                got = e.what();
            }
            EXPECT_EQ(got, body) << bytes.substr(0, 60) << " in pieces of " << piece;
        }
    }
}

TEST(HttpClient, AChunkedReplyIsStoredDecodedAndACutOneIsAnError) {
    const std::string body(200000, 'z');
    std::string chunked;
    for (std::size_t at = 0; at < body.size(); at += 70000) {
        const std::string part = body.substr(at, 70000);
        char size[16];
        std::snprintf(size, sizeof size, "%zx", part.size());
        chunked += size + std::string("\r\n") + part + "\r\n";
    }
    LoopbackServer server([&](int fd, const std::string& request) {
        const bool whole = request.starts_with("GET /whole ");
        LoopbackServer::send(fd,
                             "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n"
                             "Transfer-Encoding: chunked\r\n\r\n");
        LoopbackServer::send(fd, chunked.substr(0, 100));
        server.pause(30);
        LoopbackServer::send(fd, chunked.substr(100));
        if (whole) LoopbackServer::send(fd, "0\r\n\r\n");
    });
    test::TempFolder dir;
    for (const bool toFile : {false, true}) {
        THttpClient http;
        http.InputFileMode = toFile;
        http.Body = toFile ? dir.file("chunked.out") : "";
        long long lastReceived = 0;
        http.OnPacketRecvd = [&] {
            EXPECT_GT(http.bytesReceived(), lastReceived);
            lastReceived = http.bytesReceived();
        };
        int successes = 0;
        http.OnSuccess = [&](int) { ++successes; };
        EXPECT_EQ(errorOf([&] { http.Get(server.url("/whole")); }), "<no error>");
        EXPECT_EQ(toFile ? dir.read("chunked.out") : http.Body, body);
        EXPECT_EQ(http.bytesReceived(), 200000);
        EXPECT_EQ(http.bytesTotal(), 0);  // the length beside the chunks means nothing
        EXPECT_EQ(successes, 1);
        lastReceived = 0;
        EXPECT_EQ(errorOf([&] { http.Get(server.url("/cut")); }),
                  "The connection to 127.0.0.1 ended before the whole reply had arrived");
        EXPECT_EQ(successes, 1);
        EXPECT_FALSE(http.connected());
    }
}

}  // namespace
}  // namespace rostrix
