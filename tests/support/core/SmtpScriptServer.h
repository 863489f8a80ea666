// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rostrix::test {

// A mail server on 127.0.0.1 with an ephemeral port, on its own thread, that answers from
// a script and records every byte it receives. It serves one connection at a time.
class SmtpScriptServer {
public:
    // Replies by command word ("HELO", "MAIL", "RCPT", ... and "." for the end of the
    // data), used up in order; when a word's list is used up the usual reply follows.
    // A reply "" answers nothing, as a silent server would; kHangUp closes the connection,
    // after the bytes before it when it ends a reply.
    static constexpr const char* kHangUp = "<hang up>";
    using Replies = std::map<std::string, std::vector<std::string>>;

    explicit SmtpScriptServer(Replies replies = {},
                              std::string greeting = "220 test.example ready\r\n");
    ~SmtpScriptServer();
    SmtpScriptServer(const SmtpScriptServer&) = delete;
    SmtpScriptServer& operator=(const SmtpScriptServer&) = delete;

    int port() const { return port_; }
    // Every byte received so far, over all connections.
    std::string received() const;

private:
    void run();
    void serve(int fd);
    std::string replyTo(const std::string& word);

    Replies replies_;
    std::string greeting_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::string received_;
    std::thread thread_;
};

}  // namespace rostrix::test
