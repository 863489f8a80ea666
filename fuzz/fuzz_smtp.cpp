// SPDX-License-Identifier: GPL-3.0-or-later
// The mail client's reply reader over arbitrary bytes: a loopback server sends the input as
// everything it has to say (greeting and replies), then stops talking and listens until the
// client hangs up. The client connects, sends a message and says goodbye, as the submission
// window has it do. Checks that the outcome is the one the replies call for, each reply read
// whole, continuation lines included:
// the error texts (the reply line itself, a line without a code, "Authentication failed",
// a hang-up, a line or reply too long), the refused recipients, the success and failure
// events, and every byte the server receives, so no reply makes the client send anything
// it should not. The same bytes, taken as the lines of an EHLO reply, go through the
// capability reader, whose findings must be there in the text; and they answer the
// submission exchange, which must never say anything in clear after EHLO.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
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
#include "package/SmtpReply.h"
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
    bool closed = false;  // the client has ended the connection (421): no goodbye follows
};

// A reply line as the error box shows it (a NUL in it becomes a visible mark).
std::string asError(std::string_view line) {
    return Error(withoutLineEnd(line)).what();
}

// A whole reply: every line must start with three digits and a blank, "-" or the line end,
// the code from 200 to 599 and the same on every line; "-" means another line follows, and
// the last line ends with its line feed. "" when the server hung up (maybe in the middle
// of the first line) and that counts as an answer. 421 ends the session, except where the
// hang-up counts as an answer. Each line, without its line end, goes into `all` when given.
std::string wholeReply(ReplyLines& lines, bool hangUpAnswers = false,
                       std::vector<std::string>* all = nullptr) {
    std::size_t count = 0, bytes = 0;
    long long code = 0;
    for (;;) {
        std::optional<std::string> next = lines.next();
        if (!next) throw ModelError{*lines.error};
        const std::string line = *next;
        const bool cut = !line.empty() && line.back() != '\n';
        if (line.empty() || cut) {
            if (hangUpAnswers && count == 0) return {};
            if (cut)
                throw ModelError{"The mail server closed the connection in the middle of a reply"};
            throw ModelError{socketErrorMessage(10054)};
        }
        bytes += line.size();
        if (count >= kMaxReplyLines || bytes > kMaxReplyBytes)
            throw ModelError{"The mail server's reply is longer than 1,000 lines or 1 MiB"};
        ++count;
        const std::string text = line.substr(0, line.find_first_of("\r\n"));
        bool coded = text.size() >= 3 && (text.size() == 3 || text[3] == ' ' || text[3] == '-');
        for (std::size_t i = 0; coded && i < 3; ++i) coded = text[i] >= '0' && text[i] <= '9';
        if (!coded)
            throw ModelError{asError("The mail server's reply has no three-digit code: " + line)};
        if (text[0] < '2' || text[0] > '5')
            throw ModelError{asError("The mail server's reply has an unknown code: " + line)};
        if (count > 1 && replyCode(line) != code)
            throw ModelError{asError("The mail server's reply changes its code: " + line)};
        code = replyCode(line);
        if (all) all->push_back(withoutLineEnd(line));
        if (text.size() == 3 || text[3] == ' ') {
            if (code == 421 && !hangUpAnswers) throw ModelError{asError(line), true};
            return line;
        }
    }
}

// What the client must do and report when the server says `speech`.
Outcome expected(const std::string& speech, const std::string& data) {
    Outcome out;
    ReplyLines lines(speech);
    const auto reply = [&](bool hangUpAnswers = false) { return wholeReply(lines, hangUpAnswers); };
    const auto command = [&](const std::string& text) {
        out.transcript += text + "\r\n";
        return reply();
    };
    const auto positive = [](const std::string& line) {
        return replyCode(line) >= 200 && replyCode(line) <= 299;
    };
    const auto quit = [&]() -> std::optional<std::string> {
        out.transcript += "QUIT\r\n";
        try {
            const std::string line = reply(true);
            if (replyCode(line) > 339 && replyCode(line) != 421) return asError(line);
        } catch (const ModelError& e) {
            return e.text;
        }
        return std::nullopt;
    };
    try {
        const std::string greeting = reply();
        if (replyCode(greeting) >= 400) throw ModelError{asError(greeting)};
        if (replyCode(command("HELO fuzz")) >= 300) throw ModelError{"Authentication failed"};
    } catch (const ModelError& e) {
        out.connectError = e.text;
        if (!e.closed) quit();
        return out;
    }
    try {
        const auto failing = [&](const std::string& text) {
            const std::string line = command(text);
            if (!positive(line)) throw ModelError{asError(line)};
        };
        failing("RSET");
        failing("MAIL FROM:<me@fuzz.test>");
        int accepted = 0;
        std::string refusal;
        for (const char* to : {"a@fuzz.test", "library@fuzz.test"}) {
            const std::string line = command(std::string("RCPT TO:<") + to + ">");
            if (positive(line)) {
                ++accepted;
            } else {
                ++out.refused;
                refusal = asError(line);
            }
        }
        if (accepted == 0) throw ModelError{refusal};
        const std::string goAhead = command("DATA");
        if (replyCode(goAhead) != 354) throw ModelError{asError(goAhead)};
        out.transcript += data;
        const std::string last = command(".");
        if (!positive(last)) {
            out.failure = true;
            throw ModelError{asError(last)};
        }
        out.success = true;
    } catch (const ModelError& e) {
        out.sendError = e.text;
        if (e.closed) return out;  // Disconnect finds the connection closed
    }
    out.quitError = quit();
    return out;
}

// The capability reader against a second reading of the same lines: the words after the
// code, upper-cased; STARTTLS alone on its line; AUTH as a word or AUTH= glued to the first
// mechanism.
void checkCapabilities(const std::string& speech) {
    const std::vector<std::string> lines = textLines(speech);
    const Capabilities got = capabilities(lines);
    Capabilities want;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string text = lines[i].size() > 4 ? lines[i].substr(4) : "";
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // Only blanks and tabs part the words: a form feed or any other control byte is part
        // of the word it sits in, as in the EHLO grammar.
        std::vector<std::string> words;
        std::string word;
        for (const char c : text + ' ') {
            if (c != ' ' && c != '\t') {
                word += c;
            } else if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        }
        if (words.size() == 1 && words[0] == "STARTTLS") want.startTls = true;
        if (words.empty() || !words[0].starts_with("AUTH") ||
            (words[0] != "AUTH" && words[0][4] != '='))
            continue;
        want.auth = true;
        if (words[0] != "AUTH") words.push_back(words[0].substr(5));
        for (std::size_t k = 1; k < words.size(); ++k) {
            want.authPlain = want.authPlain || words[k] == "PLAIN";
            want.authLogin = want.authLogin || words[k] == "LOGIN";
        }
    }
    FUZZ_CHECK(got.startTls == want.startTls && got.auth == want.auth &&
                   got.authPlain == want.authPlain && got.authLogin == want.authLogin,
               "capabilities of " + shown(speech, 600));
}

const std::vector<SocketAddress>& loopbackAddress() {
    static const std::vector<SocketAddress> address = systemResolve("127.0.0.1");
    return address;
}

// The submission exchange over the same bytes. Nothing after EHLO may go out in clear:
// without an offer of STARTTLS and its go-ahead the client stops, and after the go-ahead
// the next byte it sends opens a TLS handshake (which cannot succeed against these bytes),
// unless it refuses what the server sent after the go-ahead.
void checkSubmission(const std::string& speech) {
    static TalkativePeer peer;
    const std::string noEncryption =
        "The mail server " + kHost + " offers no encryption (STARTTLS)";
    const std::string injected = "The mail server " + kHost +
                                 " sent data before the secure connection began; the "
                                 "connection was closed for safety";
    std::string wantError, wantSent;
    bool handshake = false, leftover = false;
    ReplyLines lines(speech);
    try {
        const std::string greeting = wholeReply(lines);
        if (replyCode(greeting) >= 400) throw ModelError{asError(greeting)};
        wantSent = "EHLO " + kHost + "\r\n";
        std::vector<std::string> ehlo;
        const std::string last = wholeReply(lines, false, &ehlo);
        if (replyCode(last) >= 400) throw ModelError{asError(last)};
        if (!capabilities(ehlo).startTls) throw ModelError{noEncryption};
        wantSent += "STARTTLS\r\n";
        if (replyCode(wholeReply(lines)) != 220) throw ModelError{noEncryption};
        handshake = true;
        leftover = !lines.rest().empty();
    } catch (const ModelError& e) {
        wantError = e.text;
    }
    peer.say(speech);
    std::string error = "<none>";
    {
        TSmtpClient client;
        client.Host = kHost;
        client.Port = peer.port();
        client.Security = MailSecurity::StartTls;
        client.LocalName = kHost;
        client.Login = "me@fuzz.test";
        client.StallTimeoutMs = client.FinalReplyTimeoutMs = 20000;
        client.socket().resolver = [](const std::string& host) {
            return host == kHost ? loopbackAddress() : std::vector<SocketAddress>{};
        };
        client.OnPassword = [](std::string&) {
            fail(__FILE__, __LINE__, "a password was asked for", "");
            return false;
        };
        try {
            client.Connect();
        } catch (const Error& e) {
            error = e.what();
        }
        FUZZ_CHECK(!client.connected(), "still connected after the submission exchange");
    }
    const std::string sent = peer.heard();
    const std::string detail = " for " + shown(speech, 600);
    if (!handshake) {
        FUZZ_CHECK(error == wantError,
                   "submission: " + shown(error) + " not " + shown(wantError) + detail);
        FUZZ_CHECK(sent == wantSent, "submission sent " + shown(sent, 600) + detail);
        return;
    }
    FUZZ_CHECK(sent.compare(0, wantSent.size(), wantSent) == 0,
               "submission sent " + shown(sent, 600) + detail);
    if (sent.size() == wantSent.size()) {
        FUZZ_CHECK(leftover && error == injected, "no handshake, yet " + shown(error) + detail);
    } else {
        FUZZ_CHECK(
            sent[wantSent.size()] == 0x16,
            "sent in clear after STARTTLS: " + shown(sent.substr(wantSent.size()), 80) + detail);
        FUZZ_CHECK(error != "<none>" && error != injected,
                   "after a handshake: " + shown(error) + detail);
    }
}

void check(const std::string& speech) {
    checkCapabilities(speech);
    checkSubmission(speech);
    static TalkativePeer peer;
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
            return host == kHost ? loopbackAddress() : std::vector<SocketAddress>{};
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
