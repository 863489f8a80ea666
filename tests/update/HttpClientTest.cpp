// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "platform/Error.h"
#include "support/core/ErrorOf.h"
#include "support/core/LoopbackServer.h"
#include "support/core/TempFolder.h"
#include "support/core/ThrowawayCa.h"
#include "support/core/TlsTestServer.h"
#include "update/HttpClient.h"

namespace rostrix {
namespace {

using test::errorOf;
using test::httpReply;
using test::LoopbackServer;

// The path of a request's first line.
std::string requestPath(const std::string& request) {
    const std::size_t from = request.find(' ') + 1;
    return request.substr(from, request.find(' ', from) - from);
}

// A client with its outcomes counted.
struct Fetch {
    THttpClient http;
    int successes = 0, failures = 0, packets = 0;
    long long lastReceived = 0;
    bool growing = true;  // bytes received grows with every block
    Fetch() {
        http.OnSuccess = [this](int command) { successes += command == THttpClient::kGet; };
        http.OnFailure = [this](int command) { failures += command == THttpClient::kGet; };
        http.OnPacketRecvd = [this] {
            ++packets;
            growing = growing && http.bytesReceived() > lastReceived;
            lastReceived = http.bytesReceived();
        };
    }
};

TEST(HttpClient, SendsTheFiveRequestLinesAndStoresTheReply) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "1.4.0\r\n", "Server: t\r\n"));
    });
    Fetch f;
    f.http.Get(server.url("/rostrix/kwyx.html"));
    EXPECT_EQ(server.requests().at(0),
              "GET /rostrix/kwyx.html HTTP/1.0\r\n"
              "Host: 127.0.0.1:" +
                  std::to_string(server.port()) +
                  "\r\n"
                  "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                  "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
                  "Content-type: application/x-www-form-urlencoded\r\n"
                  "\r\n");
    EXPECT_EQ(f.http.Body, "1.4.0\r\n");
    EXPECT_EQ(f.http.Header, "HTTP/1.0 200 OK\r\nServer: t\r\nContent-Length: 7\r\n\r\n");
    EXPECT_EQ(f.http.statusCode(), 200);
    EXPECT_EQ(f.http.bytesTotal(), 7);
    EXPECT_EQ(f.http.bytesReceived(), 7);
    EXPECT_EQ(f.successes, 1);
    EXPECT_EQ(f.failures, 0);
    EXPECT_FALSE(f.http.connected());
}

TEST(HttpClient, RepliesAreStoredWhateverTheirStatusInTextAndFileMode) {
    struct Case {
        const char* name;
        std::string reply;
        int status;
        long long total;
        std::string body;
        int successes, failures;
    };
    const std::string page = "<html>Not here</html>";
    const Case cases[] = {
        {"no length", httpReply("HTTP/1.0 200 OK", "abc", "", false), 200, 0, "abc", 1, 0},
        {"length without blank", "HTTP/1.0 200 OK\r\nContent-Length:123\r\n\r\nabc", 200, 0, "abc",
         1, 0},
        {"no status number", httpReply("HTTP/1.0 OK", "abc"), 0, 3, "abc", 1, 0},
        {"no second word", "HTTP/1.0\n\nabc", 0, 0, "abc", 1, 0},
        {"missing page", httpReply("HTTP/1.0 404 Not Found", page), 404, 21, page, 0, 1},
        {"server error", httpReply("HTTP/1.0 500 Oops", ""), 500, 0, "", 0, 1},
        {"edge of success", httpReply("HTTP/1.0 298 X", "b"), 298, 1, "b", 1, 0},
        {"beyond success", httpReply("HTTP/1.0 299 X", "b"), 299, 1, "b", 0, 0},
        {"neither", httpReply("HTTP/1.0 304 Not Modified", "c"), 304, 1, "c", 0, 0},
        {"not followed", httpReply("HTTP/1.0 303 See Other", "d", "Location: /y\r\n"), 303, 1, "d",
         0, 0},
        {"edge of failure", httpReply("HTTP/1.0 400 Bad", "e"), 400, 1, "e", 0, 1},
        {"bare line feeds", "HTTP/1.0 200 OK\nContent-Length: 2\n\nxy", 200, 2, "xy", 1, 0},
    };
    test::TempFolder dir;
    for (const Case& c : cases) {
        for (const bool toFile : {false, true}) {
            LoopbackServer server(
                [&](int fd, const std::string&) { LoopbackServer::send(fd, c.reply); });
            Fetch f;
            f.http.InputFileMode = toFile;
            if (toFile) f.http.Body = dir.file("body.out");
            f.http.Get(server.url("/x"));
            const std::string label = std::string(c.name) + (toFile ? " (file)" : " (text)");
            EXPECT_EQ(f.http.statusCode(), c.status) << label;
            EXPECT_EQ(f.http.bytesTotal(), c.total) << label;
            EXPECT_EQ(toFile ? dir.read("body.out") : f.http.Body, c.body) << label;
            EXPECT_EQ(f.http.bytesReceived(), static_cast<long long>(c.body.size())) << label;
            EXPECT_EQ(f.successes, c.successes) << label;
            EXPECT_EQ(f.failures, c.failures) << label;
        }
    }
}

TEST(HttpClient, OneByteBlocksAreStoredCompletely) {
    std::string body;
    for (int i = 0; i < 300; ++i) body += static_cast<char>(i);
    test::TempFolder dir;
    for (const bool toFile : {false, true}) {
        LoopbackServer server([&](int fd, const std::string&) {
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "", "", false));
            for (char c : body) {
                LoopbackServer::send(fd, std::string(1, c));
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        });
        Fetch f;
        f.http.InputFileMode = toFile;
        f.http.Body = dir.file("one.bin");
        f.http.Get(server.url("/b"));
        EXPECT_EQ(toFile ? dir.read("one.bin") : f.http.Body, body) << toFile;
        EXPECT_EQ(f.lastReceived, 300) << toFile;
        EXPECT_GT(f.packets, 1) << toFile;
        EXPECT_TRUE(f.growing) << toFile;
    }
}

TEST(HttpClient, AbortEndsEachPhaseWithItsTextAndKeepsWhatArrived) {
    test::TempFolder dir;
    LoopbackServer server([&](int fd, const std::string& request) {
        if (requestPath(request) == "/header") {
            LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n");
        } else if (requestPath(request) == "/body") {
            LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "first part", "", false));
        } else {
            LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "again"));
            return;
        }
        server.waitForClose(fd, 3000);
    });
    Fetch f;
    int pumps = 0;
    f.http.socket().pump = [&] {
        if (++pumps == 30) f.http.Abort();
    };
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/header")); }), "Socket readln aborted");
    EXPECT_FALSE(f.http.connected());

    f.http.socket().pump = nullptr;
    f.http.OnPacketRecvd = [&] { f.http.Abort(); };
    f.http.Body = dir.file("part.zip");
    f.http.InputFileMode = true;
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/body")); }), "Socket send aborted");
    EXPECT_EQ(dir.read("part.zip"), "first part");

    f.http.InputFileMode = false;
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/body")); }), "Socket capture aborted");
    EXPECT_EQ(f.http.Body, "first part");
    EXPECT_EQ(f.successes + f.failures, 0);

    // The next Get starts with the abort forgotten.
    f.http.OnPacketRecvd = nullptr;
    f.http.Get(server.url("/again"));
    EXPECT_EQ(f.http.Body, "again");
}

TEST(HttpClient, RedirectsFollowTheLocationAgainstTheCurrentServer) {
    LoopbackServer server([](int fd, const std::string& request) {
        const std::string path = requestPath(request);
        if (path == "/old/page")
            LoopbackServer::send(fd, httpReply("HTTP/1.0 301 Moved", "moved", "Location: /b/\r\n"));
        else if (path == "/b/")
            LoopbackServer::send(fd, httpReply("HTTP/1.0 302 Found", "", "location: c.txt\r\n"));
        else if (path == "/b/c.txt")
            LoopbackServer::send(fd, httpReply("HTTP/1.0 307 Temporary", "", "Location: d\r\n"));
        else if (path == "/b/d")
            LoopbackServer::send(fd, httpReply("HTTP/1.0 308 Permanent", "", "Location: e\r\n"));
        else
            LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "final " + path, "", false));
    });
    test::TempFolder dir;
    Fetch f;
    f.http.InputFileMode = true;
    f.http.Body = dir.file("r.out");
    f.http.Get(server.url("/old/page"));
    EXPECT_EQ(dir.read("r.out"), "final /b/e");
    EXPECT_EQ(f.http.statusCode(), 200);
    // The counters start again with every reply: no length here, and only this body.
    EXPECT_EQ(f.http.bytesTotal(), 0);
    EXPECT_EQ(f.http.bytesReceived(), 10);
    EXPECT_EQ(f.successes, 1);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[1].substr(0, requests[1].find("Accept")),
              "GET /b/ HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n");
}

TEST(HttpClient, ARedirectLoopEndsAfterTenRedirects) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 302 Found", "", "Location: /loop\r\n"));
    });
    Fetch f;
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/loop")); }),
              "Too many redirections (more than 10)");
    EXPECT_EQ(server.requests().size(), 11u);
    EXPECT_FALSE(f.http.connected());
}

TEST(HttpClient, AnEndlessHeaderLineEndsTheRequest) {
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\nX-Filler: ");
        for (int i = 0; i < 64 && !server.stopping(); ++i)
            LoopbackServer::send(fd, std::string(4096, 'a'));
    });
    Fetch f;
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/")); }), "Reply line longer than 65536 bytes");
    EXPECT_FALSE(f.http.connected());
}

TEST(HttpClient, UnreachableServersEndTheGetWithTheirTexts) {
    Fetch f;
    EXPECT_EQ(errorOf([&] {
                  f.http.Get("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()));
              }),
              "Connection Failed");

    std::string asked;
    f.http.socket().resolver = [&asked](const std::string& host) {
        asked = host;
        return std::vector<SocketAddress>{};
    };
    EXPECT_EQ(errorOf([&] { f.http.Get("http://www.runqrd.example/rostrix/kwyx.html"); }),
              "Null Remote Address");
    EXPECT_EQ(asked, "www.runqrd.example");
    EXPECT_EQ(f.successes + f.failures, 0);
}

TEST(HttpClient, ASilentServerTimesOut) {
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n\r\nsome");
        server.waitForClose(fd, 5000);
    });
    Fetch f;
    f.http.socket().stallTimeoutMs = 200;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/")); }), "10060:Connection timed out");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(f.http.Body, "some");
}

TEST(HttpClient, AGetInsideAGetIsRefused) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "body"));
    });
    Fetch f;
    std::string inner;
    f.http.OnPacketRecvd = [&] { inner = errorOf([&] { f.http.Get(server.url("/")); }); };
    f.http.Get(server.url("/"));
    EXPECT_EQ(inner, "Already connected");
    EXPECT_EQ(f.http.Body, "body");

    // Also while the host name is still being looked up.
    inner.clear();
    f.http.OnPacketRecvd = nullptr;
    f.http.socket().resolver = [](const std::string& host) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return systemResolve(host);
    };
    f.http.socket().pump = [&] {
        if (inner.empty()) inner = errorOf([&] { f.http.Get(server.url("/")); });
    };
    f.http.Get(server.url("/"));
    EXPECT_EQ(inner, "Already connected");
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(HttpClient, AnEndlessHeaderEndsTheRequest) {
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n");
        const std::string line = "X-Filler: " + std::string(60000, 'a') + "\r\n";
        for (int i = 0; i < 40 && !server.stopping(); ++i) LoopbackServer::send(fd, line);
    });
    Fetch f;
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/")); }),
              "Reply header longer than 1048576 bytes");
    EXPECT_FALSE(f.http.connected());
}

// The server closing before the header's blank line leaves no reply to report.
TEST(HttpClient, AHeaderCutShortIsAnError) {
    const std::string replies[] = {
        "",
        "HTTP/1.0 200 OK",
        "HTTP/1.0 200 OK\r\n",
        "HTTP/1.0 200 OK\r\nServer: t\r\n",
        "HTTP/1.0 200 OK\r\nContent-Length: 5\r\nServer: t",
    };
    for (const std::string& reply : replies) {
        LoopbackServer server([&](int fd, const std::string&) { LoopbackServer::send(fd, reply); });
        Fetch f;
        EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/x")); }),
                  "The server closed the connection before the end of the reply header")
            << reply;
        EXPECT_EQ(f.successes + f.failures, 0) << reply;
        EXPECT_FALSE(f.http.connected()) << reply;
    }
}

// A body kept in memory ends the Get past 1 MiB, with or without a length; in a file it
// has no such limit.
TEST(HttpClient, ABodyKeptAsTextIsBounded) {
    constexpr std::size_t kLimit = THttpClient::kMaxTextBody;
    const std::string block(64 * 1024, 'z');
    for (const bool withLength : {false, true}) {
        for (const std::size_t size : {kLimit, kLimit + 1, 4 * kLimit}) {
            LoopbackServer server([&](int fd, const std::string&) {
                std::string header = "HTTP/1.0 200 OK\r\n";
                if (withLength) header += "Content-Length: " + std::to_string(size) + "\r\n";
                LoopbackServer::send(fd, header + "\r\n");
                for (std::size_t sent = 0; sent < size && !server.stopping(); sent += block.size())
                    LoopbackServer::send(fd, block.substr(0, std::min(block.size(), size - sent)));
            });
            Fetch f;
            const std::string error = errorOf([&] { f.http.Get(server.url("/big")); });
            const std::string label = std::to_string(size) + (withLength ? " with length" : "");
            if (size <= kLimit) {
                EXPECT_EQ(error, "<no error>") << label;
                EXPECT_EQ(f.http.Body.size(), size) << label;
            } else {
                EXPECT_EQ(error, "Reply body longer than 1048576 bytes") << label;
                EXPECT_LE(f.http.Body.size(), kLimit) << label;
                EXPECT_EQ(f.successes, 0) << label;
            }
            EXPECT_FALSE(f.http.connected()) << label;
        }
    }
    // The same 4 MiB go to a file whole.
    test::TempFolder dir;
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n\r\n");
        for (std::size_t sent = 0; sent < 4 * kLimit; sent += block.size())
            LoopbackServer::send(fd, block);
    });
    Fetch f;
    f.http.InputFileMode = true;
    f.http.Body = dir.file("big.bin");
    f.http.Get(server.url("/big"));
    EXPECT_EQ(dir.read("big.bin").size(), 4 * kLimit);
}

TEST(HttpClient, HeaderAndBodyFilesAreCreatedOrTheGetFails) {
    LoopbackServer server([](int fd, const std::string&) {
        LoopbackServer::send(fd, httpReply("HTTP/1.0 200 OK", "zip"));
    });
    test::TempFolder dir;
    Fetch f;
    f.http.OutputFileMode = true;
    f.http.Header = dir.file("Head.txt");
    f.http.InputFileMode = true;
    f.http.Body = dir.file("kwyx.zip");
    f.http.Get(server.url("/files/kwyx.zip"));
    EXPECT_EQ(dir.read("Head.txt"), "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n");
    EXPECT_EQ(dir.read("kwyx.zip"), "zip");

    f.http.Body = dir.file("missing/kwyx.zip");
    EXPECT_EQ(errorOf([&] { f.http.Get(server.url("/files/kwyx.zip")); }),
              "Cannot create file " + dir.file("missing/kwyx.zip") + ": No such file or directory");
    EXPECT_FALSE(f.http.connected());
}

// Over TLS a body is whole only by its length or the closing alert: one of unknown length
// cut without the alert is an error, as a killed nginx worker showed.
TEST(HttpClient, TlsBodiesAreWholeOnlyByLengthOrClosingAlert) {
    test::ThrowawayCa ca;
    ASSERT_TRUE(ca.ok());
    const auto cert = ca.issue({"localhost"});
    const std::string cut = "The connection to localhost ended before the whole reply had arrived";
    const std::tuple<std::string, bool, std::string> cases[] = {
        {httpReply("HTTP/1.0 200 OK", "part", "", false), false, cut},
        {"HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\npart", false, cut},
        {httpReply("HTTP/1.0 200 OK", "whole", "", false), true, "<no error>"},
        {httpReply("HTTP/1.0 200 OK", "whole"), false, "<no error>"},
    };
    for (const auto& [reply, closeNotify, error] : cases) {
        test::TlsTestServer server(cert, [&](test::TlsPeer& peer) {
            if (!peer.accept()) return;
            while (peer.readLine().size() > 2) {
            }
            peer.send(reply);
            if (closeNotify) peer.closeNotify();
        });
        Fetch f;
        EXPECT_EQ(
            errorOf([&] { f.http.Get("https://localhost:" + std::to_string(server.port())); }),
            error)
            << reply;
        EXPECT_EQ(f.successes, error == cut ? 0 : 1) << reply;
    }
}

}  // namespace
}  // namespace rostrix
