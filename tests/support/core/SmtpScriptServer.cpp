// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/SmtpScriptServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>
#include <string_view>

#include "support/core/LoopbackServer.h"

namespace rostrix::test {

namespace {

const std::map<std::string, std::string> kUsual = {{"HELO", "250 test.example hello\r\n"},
                                                   {"RSET", "250 reset\r\n"},
                                                   {"MAIL", "250 sender ok\r\n"},
                                                   {"RCPT", "250 recipient ok\r\n"},
                                                   {"DATA", "354 end with a dot\r\n"},
                                                   {".", "250 queued\r\n"},
                                                   {"QUIT", "221 bye\r\n"}};

std::string commandWord(const std::string& line) {
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\r' || c == '\n') break;
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return word;
}

}  // namespace

SmtpScriptServer::SmtpScriptServer(Replies replies, std::string greeting)
    : replies_(std::move(replies)), greeting_(std::move(greeting)) {
    listener_ = listenLoopback(port_);
    thread_ = std::thread([this] { run(); });
}

SmtpScriptServer::~SmtpScriptServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::string SmtpScriptServer::received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

std::string SmtpScriptServer::replyTo(const std::string& word) {
    auto& queue = replies_[word];
    if (!queue.empty()) {
        std::string reply = queue.front();
        queue.erase(queue.begin());
        return reply;
    }
    const auto usual = kUsual.find(word);
    return usual == kUsual.end() ? "500 unknown command\r\n" : usual->second;
}

void SmtpScriptServer::run() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        serve(fd);
        ::close(fd);
    }
}

namespace {
const std::size_t kHangUpSize = std::string_view(SmtpScriptServer::kHangUp).size();
}  // namespace

void SmtpScriptServer::serve(int fd) {
    if (greeting_ == kHangUp) return;
    LoopbackServer::send(fd, greeting_);
    std::string pending;
    bool inData = false;
    while (!stop_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        char buf[65536];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return;
        {
            const std::lock_guard lock(mutex_);
            received_.append(buf, static_cast<std::size_t>(n));
        }
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t start = 0;
        for (std::size_t lf; (lf = pending.find('\n', start)) != std::string::npos;
             start = lf + 1) {
            const std::string line = pending.substr(start, lf + 1 - start);
            if (inData) {
                if (line != ".\r\n") continue;
                inData = false;
                const std::string reply = replyTo(".");
                if (reply.ends_with(kHangUp)) {
                    LoopbackServer::send(fd, reply.substr(0, reply.size() - kHangUpSize));
                    return;
                }
                LoopbackServer::send(fd, reply);
                continue;
            }
            const std::string word = commandWord(line);
            const std::string reply = replyTo(word);
            if (reply.ends_with(kHangUp)) {
                LoopbackServer::send(fd, reply.substr(0, reply.size() - kHangUpSize));
                return;
            }
            LoopbackServer::send(fd, reply);
            if (word == "DATA" && reply.compare(0, 3, "354") == 0) inData = true;
            if (word == "QUIT" && !reply.empty()) return;
        }
        pending.erase(0, start);
    }
}

}  // namespace rostrix::test
