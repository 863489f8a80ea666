// The mail client's reply reader over arbitrary bytes: a loopback server sends the input as
// everything it has to say (greeting and replies), then stops talking and listens until the
// client hangs up. The client connects, sends a message and says goodbye, as the submission
// window has it do. Checks that the outcome is the one the replies call for, read a line at
// a time with continuation lines skipped after the greeting and the introduction only:
// the error texts (the reply line itself, "Authentication failed", a hang-up, a line too
// long), the refused recipients, the success and failure events, and every byte the
// server receives, so no reply makes the client send anything it should not.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FuzzSupport.h"
#include "ReplyLines.h"
#include "net/HostLookup.h"
#include "net/WinsockErrors.h"
#include "package/MailMessage.h"
#include "package/SmtpClient.h"
#include "platform/Error.h"
#include "support/core/LoopbackServer.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

const std::string kHost = "fuzz.test";

// Says its piece on each connection, then only listens; hands over what it heard.
class TalkativePeer {
public:
    TalkativePeer() {
        listener_ = test::listenLoopback(port_);
        thread_ = std::thread([this] { run(); });
    }
    ~TalkativePeer() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

    void say(std::string bytes) {
        const std::lock_guard lock(mutex_);
        speech_ = std::move(bytes);
        heard_.reset();
    }
    // What the client sent on the connection, once it has hung up.
    std::string heard() {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, std::chrono::seconds(30), [&] { return heard_.has_value(); }))
            fail(__FILE__, __LINE__, "the client never hung up", "");
        return *heard_;
    }

private:
    void run() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            std::string speech;
            {
                const std::lock_guard lock(mutex_);
                speech = speech_;
            }
            std::string_view rest(speech);
            while (!rest.empty()) {
                const ssize_t n = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
                if (n <= 0) break;
                rest.remove_prefix(static_cast<std::size_t>(n));
            }
            ::shutdown(fd, SHUT_WR);
            std::string heard;
            char buf[4096];
            for (;;) {
                const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
                if (n <= 0) break;
                heard.append(buf, static_cast<std::size_t>(n));
            }
            ::close(fd);
            const std::lock_guard lock(mutex_);
            heard_ = std::move(heard);
            done_.notify_all();
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    std::string speech_;
    std::optional<std::string> heard_;
    std::thread thread_;
};

TMailMessage message() {
    TMailMessage m;
    m.FromAddress = "me@fuzz.test";
    m.ToAddress = {"a@fuzz.test", "Team Library <library@fuzz.test>"};
    m.Body = {"Hello", ".", ".hidden"};
    m.Subject = "Team";
    return m;
}

struct Outcome {
    std::optional<std::string> connectError, sendError, quitError;
    std::string transcript;
    int refused = 0;
    bool success = false, failure = false;
};

struct ModelError {
    std::string text;
};

// A reply line as the error box shows it (a NUL in it becomes a visible mark).
std::string asError(std::string_view line) {
    return Error(withoutLineEnd(line)).what();
}

// What the client must do and report when the server says `speech`.
Outcome expected(const std::string& speech, const std::string& data) {
    Outcome out;
    ReplyLines lines(speech);
    const auto next = [&] {
        std::optional<std::string> line = lines.next();
        if (!line) throw ModelError{*lines.error};
        return *line;
    };
    const auto reply = [&](bool continued) {
        std::string line = next();
        while (continued && !line.empty() &&
               (line[0] == ' ' || (line.size() > 3 && line[3] == '-')))
            line = next();
        if (line.empty()) throw ModelError{socketErrorMessage(10054)};
        return line;
    };
    const auto command = [&](const std::string& text, bool continued = false) {
        out.transcript += text + "\r\n";
        return reply(continued);
    };
    const auto quit = [&]() -> std::optional<std::string> {
        out.transcript += "QUIT\r\n";
        const std::optional<std::string> line = lines.next();
        if (!line) return lines.error;
        if (replyCode(*line) > 339) return asError(*line);
        return std::nullopt;
    };
    try {
        const std::string greeting = reply(true);
        if (replyCode(greeting) >= 400) throw ModelError{asError(greeting)};
        if (replyCode(command("HELO fuzz", true)) >= 300) throw ModelError{"Authentication failed"};
    } catch (const ModelError& e) {
        out.connectError = e.text;
        quit();
        return out;
    }
    try {
        const auto failing = [&](const std::string& text) {
            const std::string line = command(text);
            if (replyCode(line) >= 400) throw ModelError{asError(line)};
        };
        failing("RSET");
        failing("MAIL FROM:<me@fuzz.test>");
        for (const char* to : {"a@fuzz.test", "library@fuzz.test"})
            if (replyCode(command(std::string("RCPT TO:<") + to + ">")) > 300) ++out.refused;
        failing("DATA");
        out.transcript += data;
        const std::string last = command(".");
        if (replyCode(last) >= 400) {
            out.failure = true;
            throw ModelError{asError(last)};
        }
        out.success = true;
    } catch (const ModelError& e) {
        out.sendError = e.text;
    }
    out.quitError = quit();
    return out;
}

void check(const std::string& speech) {
    static TalkativePeer peer;
    static const std::vector<SocketAddress> loopbackAddress = systemResolve("127.0.0.1");
    static const std::string data = [] {
        TSmtpClient c;
        c.MailMessage = message();
        return headerBlock(mailHeaderLines(c.MailMessage, c.SubType, c.Charset, "")) +
               c.assembleBody("");
    }();
    const Outcome want = expected(speech, data);
    peer.say(speech);

    Outcome got;
    {
        TSmtpClient client;
        client.Host = kHost;
        client.Port = peer.port();
        client.UserID = "fuzz";
        client.MailMessage = message();
        client.StallTimeoutMs = client.FinalReplyTimeoutMs = 20000;
        client.socket().resolver = [](const std::string& host) {
            return host == kHost ? loopbackAddress : std::vector<SocketAddress>{};
        };
        client.OnRecipientNotFound = [&](const std::string&) { ++got.refused; };
        client.OnSuccess = [&] { got.success = true; };
        client.OnFailure = [&] { got.failure = true; };
        const auto attempt = [](const std::function<void()>& step) -> std::optional<std::string> {
            try {
                step();
            } catch (const Error& e) {
                return std::string(e.what());
            }
            return std::nullopt;
        };
        got.connectError = attempt([&] { client.Connect(); });
        if (!got.connectError) {
            got.sendError = attempt([&] { client.SendMail(); });
            got.quitError = attempt([&] { client.Disconnect(); });
        }
        FUZZ_CHECK(!client.connected(), "still connected");
    }
    got.transcript = peer.heard();

    const std::string detail = " for " + shown(speech, 600);
    const auto text = [](const std::optional<std::string>& e) { return shown(e.value_or("none")); };
    FUZZ_CHECK(got.connectError == want.connectError,
               "Connect: " + text(got.connectError) + " not " + text(want.connectError) + detail);
    FUZZ_CHECK(got.sendError == want.sendError,
               "SendMail: " + text(got.sendError) + " not " + text(want.sendError) + detail);
    FUZZ_CHECK(got.quitError == want.quitError,
               "Disconnect: " + text(got.quitError) + " not " + text(want.quitError) + detail);
    FUZZ_CHECK(got.refused == want.refused, "refused recipients" + detail);
    FUZZ_CHECK(got.success == want.success && got.failure == want.failure, "events" + detail);
    FUZZ_CHECK(got.transcript == want.transcript, "sent " + shown(got.transcript, 600) + " not " +
                                                      shown(want.transcript, 600) + detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        check(widenedInput(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "an exception other than the client's Error", e.what());
    }
    return 0;
}
