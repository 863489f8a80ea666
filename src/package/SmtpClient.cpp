// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/SmtpClient.h"

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <utility>

#include "net/WinsockErrors.h"
#include "package/SmtpReply.h"
#include "platform/Error.h"
#include "platform/LineFile.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace rostrix {

namespace {

constexpr const char* kSendAborted = "Socket send aborted";
constexpr const char* kReadAborted = "Socket readln aborted";
constexpr const char* kTlsAborted = "Encryption start aborted";
// The goodbye after a failed introduction is a courtesy: it never waits long.
constexpr int kGoodbyeMs = 10000;
constexpr int kConnectionReset = 10054;
// The server is closing the connection (service not available).
constexpr int kClosing = 421;

bool positive(long long code) {
    return code >= 200 && code <= 299;
}

// Sets a flag for the life of a call and clears it at the end, unless it was set already.
class BusyFor {
public:
    explicit BusyFor(bool& busy) : busy_(busy), mine_(!busy) { busy_ = true; }
    ~BusyFor() { release(); }
    // Ends the busy time early, before the call reports its outcome.
    void release() {
        if (mine_) busy_ = false;
        mine_ = false;
    }
    BusyFor(const BusyFor&) = delete;
    BusyFor& operator=(const BusyFor&) = delete;

private:
    bool& busy_;
    bool mine_;
};

void refuseLineBreak(std::string_view value, const char* what) {
    if (hasLineBreak(value)) throw Error(std::string(what) + " contains a line break");
}

std::string base64(const std::string& text) {
    return QByteArray::fromStdString(text).toBase64().toStdString();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::uintmax_t sizeOrZero(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

// A large body is written once from end to end. Asking for large pages where the system
// offers them spares it tens of thousands of page faults; elsewhere this does nothing.
void adviseLargePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t size) {
#ifdef __linux__
    constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
    const std::uintptr_t begin =
        (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kLarge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

}  // namespace

// One reply, read whole: its lines up to the last one, all within one time limit, so a
// server that keeps sending continuation lines cannot hold the exchange for ever. Every
// line carries the same code, and the last one ends with its line feed: a reply cut off
// by the end of the connection has not said anything. 421 ends the session wherever it
// comes, except as the answer to QUIT, which asked for the end anyway.
long long TSmtpClient::readReply(int limitMs, bool hangUpAnswers) {
    const long long deadline = limitMs > 0 ? steadyMs() + limitMs : 0;
    replyLines_.clear();
    std::size_t bytes = 0;
    int code = 0;
    for (;;) {
        reply_ = socket_.readLine(kReadAborted, deadline);
        const bool cut = !reply_.empty() && reply_.back() != '\n';
        // A server that hangs up instead of answering has not accepted anything.
        if (reply_.empty() || cut) {
            if (hangUpAnswers && replyLines_.empty()) return 0;
            if (cut) throw Error("The mail server closed the connection in the middle of a reply");
            throw Error(socketErrorMessage(kConnectionReset));
        }
        bytes += reply_.size();
        if (replyLines_.size() >= kMaxReplyLines || bytes > kMaxReplyBytes)
            throw Error("The mail server's reply is longer than 1,000 lines or 1 MiB");
        const ReplyLine line = replyLine(reply_);
        if (!replyLines_.empty() && line.code != code)
            throw Error("The mail server's reply changes its code: " + withoutLineEnd(reply_));
        code = line.code;
        replyLines_.push_back(withoutLineEnd(reply_));
        if (!line.more) break;
    }
    if (code == kClosing && !hangUpAnswers) {
        closeConnection();
        failWithReply();
    }
    return code;
}

void TSmtpClient::sendLine(std::string_view line) {
    // A handler may have closed the connection while a call was under way.
    if (!socket_.connected()) throw Error("Not Connected");
    std::string bytes(line);
    bytes += "\r\n";
    socket_.sendAll(bytes, kSendAborted);
}

long long TSmtpClient::command(std::string_view line) {
    sendLine(line);
    return readReply(StallTimeoutMs);
}

void TSmtpClient::failWithReply() const {
    throw Error(withoutLineEnd(reply_));
}

void TSmtpClient::Connect() {
    BusyFor busy(busy_);
    if (!socket_.connected()) refuseLineBreak(Host, "The mail server address");
    socket_.stallTimeoutMs = StallTimeoutMs;
    stage_ = SmtpStage::Connecting;
    refusedHello_.clear();
    socket_.connect(Host, Port);
    stage_ = SmtpStage::Greeting;
    try {
        if (Security == MailSecurity::Tls) socket_.startTls(Host, kTlsAborted);
        if (readReply(StallTimeoutMs) >= 400) failWithReply();
        stage_ = SmtpStage::Securing;
        if (Security == MailSecurity::Plain)
            introduce();
        else
            introduceForSubmission();
    } catch (...) {
        // In the submission exchange nothing is said in clear after the introduction, not
        // even goodbye.
        if (Security != MailSecurity::Plain && !socket_.secure()) {
            closeConnection();
            throw;
        }
        try {
            quit(std::min(StallTimeoutMs, kGoodbyeMs));
        } catch (...) {
        }
        throw;
    }
    busy.release();
    if (OnConnect) OnConnect();
}

void TSmtpClient::introduce() {
    bool asked = false;
    for (;;) {
        refuseLineBreak(UserID, "The user id");
        if (command("HELO " + UserID) < 300) return;
        if (!asked && OnAuthenticationFailed) {
            asked = true;
            bool handled = false;
            OnAuthenticationFailed(handled);
            if (handled) continue;
        }
        stage_ = SmtpStage::LoggingIn;
        refusedHello_ = withoutLineEnd(reply_);
        throw Error("Authentication failed");
    }
}

Capabilities TSmtpClient::ehlo() {
    if (command("EHLO " + LocalName) >= 400) failWithReply();
    return capabilities(replyLines_);
}

void TSmtpClient::introduceForSubmission() {
    if (LocalName.empty() || hasLineBreak(LocalName) || LocalName.find(' ') != std::string::npos)
        throw Error("The name this computer introduces itself with is not fit to send");
    Capabilities caps = ehlo();
    if (Security == MailSecurity::StartTls) {
        if (!caps.startTls || command("STARTTLS") != 220)
            throw Error("The mail server " + Host + " offers no encryption (STARTTLS)");
        // Anything the server sent after its go-ahead would pass as said inside the
        // encrypted session; an honest server sends nothing there.
        if (socket_.buffered() > 0)
            throw Error("The mail server " + Host +
                        " sent data before the secure connection began; the connection was "
                        "closed for safety");
        socket_.startTls(Host, kTlsAborted);
        caps = ehlo();
    }
    if (caps.auth) logIn(caps);
}

std::string TSmtpClient::passwordKey() const {
    return Host + ":" + std::to_string(Port) + "\n" + Login;
}

void TSmtpClient::logIn(const Capabilities& caps) {
    stage_ = SmtpStage::LoggingIn;
    // A password is never sent where anyone on the way could read it.
    if (!socket_.secure()) throw Error("The mail server asked for a login outside encryption");
    if (!caps.authPlain && !caps.authLogin)
        throw Error("The mail server " + Host +
                    " offers no login this program knows (PLAIN or LOGIN)");
    const std::string key = passwordKey();
    std::string password;
    if (const auto known = passwords_.find(key); known != passwords_.end()) {
        password = known->second;
    } else if (!OnPassword || !OnPassword(password)) {
        throw Error("No password was given for " + Login + " at " + Host);
    }
    long long code = 0;
    if (caps.authPlain) {
        code = command("AUTH PLAIN " + base64(std::string(1, '\0') + Login + '\0' + password));
    } else {
        code = command("AUTH LOGIN");
        if (code == 334) code = command(base64(Login));
        if (code == 334) code = command(base64(password));
    }
    // A server asking for more than was given gets the cancel first: otherwise the next
    // command would be taken as the answer to its question.
    if (code == 334) {
        command("*");
        code = 0;
    }
    if (!positive(code)) {
        // A refused password is asked for again next time.
        passwords_.erase(key);
        failWithReply();
    }
    passwords_[key] = password;
}

void TSmtpClient::Disconnect() {
    stage_ = SmtpStage::Closing;
    quit(StallTimeoutMs);
}

// QUIT and its reply, then the connection is closed whatever happened. A server that
// hangs up instead of answering QUIT has done what was asked.
void TSmtpClient::quit(int timeoutMs) {
    if (!socket_.connected()) return;
    try {
        sendLine("QUIT");
        const long long code = readReply(timeoutMs, true);
        closeConnection();
        // 421 says the server is closing the connection, which QUIT asked for.
        if (code > 339 && code != kClosing) failWithReply();
    } catch (...) {
        closeConnection();
        throw;
    }
}

void TSmtpClient::closeConnection() {
    socket_.close();
}

void TSmtpClient::ClearParameters() {
    MailMessage.ToAddress.clear();
    MailMessage.ToCarbonCopy.clear();
    MailMessage.ToBlindCarbonCopy.clear();
    MailMessage.Attachments.clear();
}

void TSmtpClient::SendMail() {
    if (busy_) return;
    BusyFor busy(busy_);
    stage_ = SmtpStage::Sending;
    std::string boundary;
    if (!MailMessage.Attachments.empty()) {
        static thread_local std::mt19937 random{std::random_device{}()};
        boundary = makeBoundary([](int n) { return static_cast<int>(random() % n); });
    }
    const std::string header = headerBlock(headerLines(boundary));
    const std::string body = assembleBody(boundary);
    if (!socket_.connected()) throw Error("Not Connected");
    checkComplete();
    checkAddresses();
    if (OnSendStart) OnSendStart();

    if (!positive(command("RSET"))) failWithReply();
    if (!positive(command("MAIL FROM:<" + MailMessage.FromAddress + ">"))) failWithReply();
    int accepted = 0;
    std::string refusal;  // the last recipient's refusal
    for (const auto* list :
         {&MailMessage.ToAddress, &MailMessage.ToCarbonCopy, &MailMessage.ToBlindCarbonCopy}) {
        // A copy: a handler may change the lists while the loop runs.
        const std::vector<std::string> entries = *list;
        for (const std::string& entry : entries) {
            const std::string address = recipientAddress(entry);
            if (address.empty()) continue;
            if (positive(command("RCPT TO:<" + address + ">"))) {
                ++accepted;
                continue;
            }
            refusal = withoutLineEnd(reply_);
            if (OnRecipientNotFound) OnRecipientNotFound(entry);
        }
    }
    // With every recipient refused there is no one to send the message to.
    if (accepted == 0 && !refusal.empty()) throw Error(refusal);
    // Anything but the go-ahead means the server is not taking the message as data.
    if (command("DATA") != 354) failWithReply();
    sendBody(header);
    sendBody(body);
    sendLine(".");
    stage_ = SmtpStage::Finishing;
    // Only an acceptance is one: anything else leaves the message undelivered.
    if (!positive(readReply(FinalReplyTimeoutMs))) {
        if (OnFailure) OnFailure();
        failWithReply();
    }
    if (ClearParams) ClearParameters();
    busy.release();
    if (OnSuccess) OnSuccess();
}

// The submission exchange also dates the message and gives it an identity, as providers
// expect of mail their users hand in; the classic exchange sends the header as it always has.
std::vector<std::string> TSmtpClient::headerLines(const std::string& boundary) const {
    if (Security == MailSecurity::Plain)
        return mailHeaderLines(MailMessage, SubType, Charset, boundary);
    TMailMessage dated = MailMessage;
    if (dated.Date.empty()) dated.Date = mailDate(std::time(nullptr));
    if (dated.MessageID.empty()) {
        static thread_local std::mt19937 random{std::random_device{}()};
        dated.MessageID =
            makeMessageId(LocalName, [](int n) { return static_cast<int>(random() % n); });
    }
    return mailHeaderLines(dated, SubType, Charset, boundary);
}

void TSmtpClient::checkComplete() {
    const auto complete = [this] {
        return !MailMessage.FromAddress.empty() &&
               (!MailMessage.ToAddress.empty() || !MailMessage.ToCarbonCopy.empty() ||
                !MailMessage.ToBlindCarbonCopy.empty());
    };
    if (complete()) return;
    bool handled = false;
    if (OnHeaderIncomplete) OnHeaderIncomplete(handled, MailMessage.FromAddress.empty() ? 1 : 2);
    if (!handled || !complete()) throw Error("Incomplete Header");
}

// Everything that goes into a command is checked before the first command is sent, so a
// line break can never smuggle in a command of its own.
void TSmtpClient::checkAddresses() const {
    refuseLineBreak(MailMessage.FromAddress, "The sender address");
    for (const auto* list :
         {&MailMessage.ToAddress, &MailMessage.ToCarbonCopy, &MailMessage.ToBlindCarbonCopy})
        for (const std::string& entry : *list) refuseLineBreak(entry, "A recipient address");
}

void TSmtpClient::sendBody(std::string_view body) {
    while (!body.empty()) {
        const std::size_t n = std::min(body.size(), kSendPiece);
        socket_.sendAll(body.substr(0, n), kSendAborted);
        body.remove_prefix(n);
    }
}

std::string TSmtpClient::assembleBody(const std::string& boundary) {
    const TMailMessage& m = MailMessage;
    // Reserved up front, so a large attachment is never copied while the buffer grows.
    std::size_t expected = 0;
    for (const std::string& line : m.Body) expected += line.size() + 3;
    if (!boundary.empty()) {
        expected += textPartHeader(boundary, Charset).size() + closingBoundary(boundary).size();
        for (const std::string& path : m.Attachments)
            expected += attachmentPartHeader(boundary, path).size() +
                        base64LinesSize(static_cast<std::size_t>(sizeOrZero(path)));
    }
    std::string body;
    body.reserve(expected);
    adviseLargePages(body.data(), body.capacity());
    if (!boundary.empty()) body += textPartHeader(boundary, Charset);
    for (const std::string& line : m.Body) appendMessageLine(body, line);
    if (boundary.empty()) return body;
    // A copy: the encoding events may run handlers that touch the message.
    const std::vector<std::string> attachments = m.Attachments;
    for (const std::string& path : attachments) appendAttachment(body, boundary, path);
    body += closingBoundary(boundary);
    return body;
}

void TSmtpClient::appendAttachment(std::string& body, const std::string& boundary,
                                   const std::string& path) {
    if (OnEncodeStart) OnEncodeStart(path);
    // Only a regular file is read: a named pipe would hold the send for ever.
    int why = 0;
    const int fd = openRegularFile(path, O_RDONLY, &why);
    std::unique_ptr<std::FILE, FileCloser> file(fd < 0 ? nullptr : ::fdopen(fd, "rb"));
    if (!file) {
        if (fd >= 0) ::close(fd);
        if (OnAttachmentNotFound) OnAttachmentNotFound(path);
        throw Error(why == kNotRegularFile ? fileFailureText("", path, why)
                                           : formatText("Cannot open file %s", path));
    }
    body += attachmentPartHeader(boundary, path);
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), file.get());
        if (std::ferror(file.get())) throw Error(formatText("Cannot read file %s", path));
        appendBase64Lines(body, std::string_view(chunk).substr(0, n));
        if (n < chunk.size()) break;
    }
    if (OnEncodeEnd) OnEncodeEnd(path);
}

}  // namespace rostrix
