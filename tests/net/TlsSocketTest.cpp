// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>

#include "net/SocketClient.h"
#include "support/core/ErrorOf.h"
#include "support/core/LoopbackServer.h"
#include "support/core/ThrowawayCa.h"
#include "support/core/TlsTestServer.h"

namespace rostrix {
namespace {

using test::errorOf;
using test::ThrowawayCa;
using test::TlsPeer;
using test::TlsTestServer;

// Answers every line with itself until the client stops, then ends as asked.
void echo(TlsPeer& peer, bool closeNotify) {
    if (!peer.accept()) return;
    for (std::string line; !(line = peer.readLine()).empty();) {
        if (line == "BIG\n") {
            peer.send(std::string(300000, 'b') + "\n");
            continue;
        }
        peer.send(line);
        if (line == "BYE\n") break;
    }
    if (closeNotify) peer.closeNotify();
}

TEST(TlsSocket, HandshakeThenEchoOverTlsWithTheEndOfTheStreamToldApart) {
    ThrowawayCa ca;
    ASSERT_TRUE(ca.ok());
    const auto cert = ca.issue({"localhost", "127.0.0.1"});
    const struct {
        const char* host;  // names the certificate by DNS name, then by IP entry
        bool closeNotify;
    } cases[] = {{"localhost", true}, {"127.0.0.1", false}};
    for (const auto& c : cases) {
        TlsTestServer server(cert, [&](TlsPeer& peer) { echo(peer, c.closeNotify); });
        TSocketClient s;
        int pumps = 0;
        s.pump = [&] { ++pumps; };
        s.connect(c.host, server.port());
        EXPECT_FALSE(s.secure());
        s.startTls(c.host, "aborted");
        EXPECT_TRUE(s.secure()) << c.host;
        s.sendAll("hello\r\n", "aborted");
        EXPECT_EQ(s.readLine("x"), "hello\r\n") << c.host;
        s.sendAll("BIG\n", "aborted");
        std::string big;
        while (big.size() < 300001) {
            const std::string block = s.readBlock("x");
            ASSERT_FALSE(block.empty());
            EXPECT_LE(block.size(), TSocketClient::kBlockSize);
            big += block;
        }
        EXPECT_EQ(big, std::string(300000, 'b') + "\n");
        s.sendAll("BYE\n", "aborted");
        EXPECT_EQ(s.readLine("x"), "BYE\n");
        EXPECT_EQ(s.readBlock("x"), "") << c.host;
        EXPECT_EQ(s.readLine("x"), "");
        EXPECT_EQ(s.closedCleanly(), c.closeNotify) << c.host;
        EXPECT_GT(pumps, 0);
        s.close();
        EXPECT_FALSE(s.secure());
    }
}

TEST(TlsSocket, StartTlsAfterAPlainGoAheadAndRefusedWhenTextFollowsIt) {
    ThrowawayCa ca;
    ASSERT_TRUE(ca.ok());
    const auto cert = ca.issue({"localhost"});
    const struct {
        std::string goAhead;
        std::string error;
    } cases[] = {
        {"220 go ahead\r\n", "<no error>"},
        // Text in the same packet as the go-ahead would pass as said inside TLS.
        {"220 go ahead\r\n250 AUTH PLAIN\r\n",
         "The server localhost sent data before the secure connection began; the connection "
         "was closed for safety"},
    };
    for (const auto& c : cases) {
        TlsTestServer server(cert, [&](TlsPeer& peer) {
            if (peer.readLine() != "STARTTLS\r\n") return;
            peer.send(c.goAhead);
            if (!peer.accept()) return;
            peer.send("secret\r\n");
            peer.closeNotify();
        });
        TSocketClient s;
        s.connect("localhost", server.port());
        s.sendAll("STARTTLS\r\n", "aborted");
        EXPECT_EQ(s.readLine("x"), "220 go ahead\r\n");
        EXPECT_EQ(errorOf([&] { s.startTls("localhost", "aborted"); }), c.error);
        if (c.error == "<no error>") {
            EXPECT_EQ(s.readLine("x"), "secret\r\n");
        } else {
            EXPECT_FALSE(s.connected());
        }
    }
}

TEST(TlsSocket, CertificatesThatDoNotHoldAreRefusedInPlainWords) {
    ThrowawayCa ca;
    ASSERT_TRUE(ca.ok());
    ThrowawayCa stranger(false);
    ASSERT_TRUE(stranger.ok());
    const struct {
        ThrowawayCa::Certificate cert;
        const char* host;
        const char* error;
    } cases[] = {
        {ca.issue({"www.other.example", "mail.other.example"}), "localhost",
         "The certificate of localhost is for www.other.example, mail.other.example"},
        {ca.issue({"localhost"}), "127.0.0.1", "The certificate of 127.0.0.1 is for localhost"},
        {ca.issue({"localhost"}, true), "localhost", "The certificate of localhost has expired"},
        {stranger.issue({"localhost"}), "localhost",
         "The certificate of localhost is not signed by an authority this computer trusts"},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.cert.certFile.empty());
        std::atomic<bool> served = false;
        auto server = std::make_unique<TlsTestServer>(c.cert, [&](TlsPeer& peer) {
            if (peer.accept()) served = true;
        });
        TSocketClient s;
        s.connect(c.host, server->port());
        EXPECT_EQ(errorOf([&] { s.startTls(c.host, "aborted"); }), c.error);
        EXPECT_FALSE(s.connected());
        EXPECT_FALSE(s.secure());
        server.reset();  // its side of the handshake has ended
        EXPECT_FALSE(served) << c.error;
    }
}

TEST(TlsSocket, ASilentSecureServerTimesOutAndAnAbortEndsTheRead) {
    ThrowawayCa ca;
    ASSERT_TRUE(ca.ok());
    TlsTestServer server(ca.issue({"localhost"}), [](TlsPeer& peer) {
        if (peer.accept()) peer.readLine();  // says nothing until the client goes
    });
    TSocketClient s;
    s.stallTimeoutMs = 150;
    s.connect("localhost", server.port());
    s.startTls("localhost", "aborted");
    EXPECT_EQ(errorOf([&] { s.readLine("x"); }), "10060:Connection timed out");
    s.close();
    s.stallTimeoutMs = 0;
    s.connect("localhost", server.port());
    s.startTls("localhost", "aborted");
    int pumps = 0;
    s.pump = [&] {
        if (++pumps == 5) s.cancel();
    };
    EXPECT_EQ(errorOf([&] { s.readBlock("Read aborted"); }), "Read aborted");
}

// A server that takes the connection and never answers the handshake.
TEST(TlsSocket, AHandshakeThatNeverEndsIsCanceledOrTimesOut) {
    int port = 0;
    const int listener = test::listenLoopback(port);
    TSocketClient s;
    s.stallTimeoutMs = 150;
    s.connect("127.0.0.1", port);
    EXPECT_EQ(errorOf([&] { s.startTls("localhost", "aborted"); }), "10060:Connection timed out");
    s.stallTimeoutMs = 0;
    int pumps = 0;
    s.pump = [&] {
        if (++pumps == 5) s.cancel();
    };
    s.connect("127.0.0.1", port);
    EXPECT_EQ(errorOf([&] { s.startTls("localhost", "Handshake aborted"); }), "Handshake aborted");
    EXPECT_FALSE(s.connected());
    ::close(listener);
}

}  // namespace
}  // namespace rostrix
