// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "support/core/ThrowawayCa.h"

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace rostrix::test {

// One accepted connection of a TlsTestServer, plain until accept() runs the server's side
// of the handshake. Every call gives up after a few seconds, so a test cannot hang.
class TlsPeer {
public:
    TlsPeer(int fd, SSL_CTX* context) : fd_(fd), context_(context) {}
    ~TlsPeer();

    // The server's handshake; false when it failed (the client refused the certificate).
    bool accept();
    // A line up to its LF ("" at the end of the stream), in clear or inside TLS.
    std::string readLine();
    void send(std::string_view bytes);
    // Sends bytes as one TLS record whose bytes reach the socket one at a time, pauseMs
    // apart; stops when the client has gone.
    void sendTrickled(std::string_view bytes, int pauseMs);
    // Sends the closing alert; without it the connection just ends when the script returns.
    void closeNotify();

private:
    int fd_;
    SSL_CTX* context_;
    SSL* ssl_ = nullptr;
    std::string buffer_;
};

// A server on 127.0.0.1 with an ephemeral port holding one certificate, on its own thread;
// each connection is handed to the script, then closed.
class TlsTestServer {
public:
    using Script = std::function<void(TlsPeer&)>;

    TlsTestServer(const ThrowawayCa::Certificate& certificate, Script script);
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    int port() const { return port_; }

private:
    void run();

    SSL_CTX* context_ = nullptr;
    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace rostrix::test
