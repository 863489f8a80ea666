// SPDX-License-Identifier: GPL-3.0-or-later
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "net/SocketClient.h"
#include "platform/Error.h"
#include "support/core/ErrorOf.h"
#include "support/core/LoopbackServer.h"

namespace rostrix {
namespace {

using test::errorOf;
using test::LoopbackServer;

// A resolver that never answers until released; shared so an abandoned lookup's
// helper thread can finish safely after the test.
struct HangingResolver {
    std::shared_ptr<std::atomic<bool>> release = std::make_shared<std::atomic<bool>>(false);
    Resolver resolver() const {
        return [r = release](const std::string&) {
            while (!*r) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return std::vector<SocketAddress>{};
        };
    }
    ~HangingResolver() { *release = true; }
};

TEST(SocketClient, ReadsLinesWithTheirEndsThenBlocksThenTheEnd) {
    const std::string body = "rest of it" + std::string(300000, 'z');
    LoopbackServer server(
        [&](int fd, const std::string&) { LoopbackServer::send(fd, "one\ntwo\r\n\n" + body); });
    TSocketClient s;
    int pumps = 0;
    s.pump = [&] { ++pumps; };
    s.connect("127.0.0.1", server.port());
    s.sendAll("hello\r\n\r\n", "aborted");
    EXPECT_EQ(errorOf([&] { s.connect("127.0.0.1", server.port()); }), "Already connected");
    EXPECT_EQ(s.readLine("x"), "one\n");
    EXPECT_EQ(s.readLine("x"), "two\r\n");
    EXPECT_EQ(s.readLine("x"), "\n");
    std::string rest;
    for (std::string b; !(b = s.readBlock("x")).empty();) {
        EXPECT_LE(b.size(), TSocketClient::kBlockSize);
        rest += b;
    }
    EXPECT_EQ(rest, body);
    EXPECT_EQ(s.readLine("x"), "");
    EXPECT_GT(pumps, 0);
    s.close();
    EXPECT_FALSE(s.connected());
    EXPECT_EQ(server.requests().at(0), "hello\r\n\r\n");
}

TEST(SocketClient, LinesUpTo64KiBPassLongerOnesAreRefused) {
    const std::string longest(TSocketClient::kMaxLine - 1, 'a');
    LoopbackServer server([&](int fd, const std::string&) {
        LoopbackServer::send(fd, longest + "\n" + std::string(200000, 'b') + "\n");
    });
    TSocketClient s;
    s.connect("localhost", server.port());
    s.sendAll("\r\n\r\n", "aborted");
    EXPECT_EQ(s.readLine("x").size(), TSocketClient::kMaxLine);
    EXPECT_EQ(errorOf([&] { s.readLine("x"); }), "Reply line longer than 65536 bytes");
}

TEST(SocketClient, LookupFailuresHaveTheirTexts) {
    TSocketClient s;
    s.resolver = [](const std::string&) { return std::vector<SocketAddress>{}; };
    EXPECT_EQ(errorOf([&] { s.connect("nowhere.invalid", 80); }), "Null Remote Address");

    s.resolver = [](const std::string&) -> std::vector<SocketAddress> {
        throw std::runtime_error("resolver broke");
    };
    EXPECT_EQ(errorOf([&] { s.connect("nowhere.invalid", 80); }), "Null Remote Address");

    HangingResolver hanging;
    s.resolver = hanging.resolver();
    s.stallTimeoutMs = 100;
    EXPECT_EQ(errorOf([&] { s.connect("slow.invalid", 80); }), "Host Lookup Timed Out");

    s.stallTimeoutMs = 0;
    int pumps = 0;
    s.pump = [&] {
        if (++pumps == 5) s.cancel();
    };
    EXPECT_EQ(errorOf([&] { s.connect("slow.invalid", 80); }), "Host Lookup Canceled");
}

// A listener whose accept queue is full: a further connect is left waiting.
struct FullListener {
    int fd = -1;
    int port = 0;
    TSocketClient filler;
    FullListener() {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 0);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        filler.connect("127.0.0.1", port);
    }
    ~FullListener() { ::close(fd); }
};

TEST(SocketClient, AConnectionThatNeverCompletesCanBeCanceledOrTimesOut) {
    FullListener full;
    TSocketClient s;
    s.stallTimeoutMs = 150;
    EXPECT_EQ(errorOf([&] { s.connect("127.0.0.1", full.port); }), "Connection Timed out");
    s.stallTimeoutMs = 0;
    int pumps = 0;
    s.pump = [&] {
        if (++pumps == 5) s.cancel();
    };
    EXPECT_EQ(errorOf([&] { s.connect("127.0.0.1", full.port); }), "Connection Canceled");
    EXPECT_FALSE(s.connected());
}

TEST(SocketClient, ResetByPeerIsASocketError) {
    LoopbackServer server([](int fd, const std::string&) {
        const linger hard{1, 0};  // closing now sends a reset
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    });
    TSocketClient s;
    s.connect("127.0.0.1", server.port());
    s.sendAll("\r\n\r\n", "aborted");
    EXPECT_EQ(errorOf([&] { s.readBlock("x"); }), "10054:Connection reset by peer");
}

}  // namespace
}  // namespace rostrix
