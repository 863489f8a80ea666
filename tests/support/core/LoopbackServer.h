// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace rostrix::test {

// A TCP server on 127.0.0.1 with an ephemeral port, on its own thread. It serves one
// connection at a time: it reads the request up to its empty line, records it, and hands
// the connection to the script, which answers (or not) and returns; then it closes.
class LoopbackServer {
public:
    using Script = std::function<void(int fd, const std::string& request)>;

    explicit LoopbackServer(Script script);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const;
    std::vector<std::string> requests() const;
    // The requests so far, forgotten by the server (a long-running server stays small).
    std::vector<std::string> takeRequests();
    bool stopping() const { return stop_; }

    // Writes all of bytes (blocking).
    static void send(int fd, std::string_view bytes);
    // Sleeps in small steps until ms have passed or the server stops.
    void pause(int ms) const;
    // Waits until the client has closed the connection (or ms have passed).
    void waitForClose(int fd, int ms) const;

    // A port on 127.0.0.1 where nothing listens.
    static int closedPort();

private:
    void run();
    std::string readRequest(int fd) const;

    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A listening socket on 127.0.0.1 with an ephemeral port, which it sets; throws when none
// can be had.
int listenLoopback(int& port);

// A plain reply: status line, optional extra header lines, Content-Length when asked.
std::string httpReply(const std::string& statusLine, const std::string& body,
                      const std::string& extraHeader = {}, bool withLength = true);

}  // namespace rostrix::test
