#include "package/SmtpClient.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "net/WinsockErrors.h"
#include "platform/Error.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace rostrix {

namespace {

constexpr const char* kSendAborted = "Socket send aborted";
constexpr const char* kReadAborted = "Socket readln aborted";
// The goodbye after a failed introduction is a courtesy: it never waits long.
constexpr int kGoodbyeMs = 10000;
constexpr int kConnectionReset = 10054;

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

long long TSmtpClient::readReply(bool continued) {
    reply_ = socket_.readLine(kReadAborted);
    while (continued && !reply_.empty() &&
           (reply_[0] == ' ' || (reply_.size() > 3 && reply_[3] == '-')))
        reply_ = socket_.readLine(kReadAborted);
    // A server that hangs up instead of answering has not accepted anything.
    if (reply_.empty()) throw Error(socketErrorMessage(kConnectionReset));
    return replyCode(reply_);
}

void TSmtpClient::sendLine(std::string_view line) {
    // A handler may have closed the connection while a call was under way.
    if (!socket_.connected()) throw Error("Not Connected");
    socket_.stallTimeoutMs = StallTimeoutMs;
    std::string bytes(line);
    bytes += "\r\n";
    socket_.sendAll(bytes, kSendAborted);
}

long long TSmtpClient::command(std::string_view line, bool continued) {
    sendLine(line);
    return readReply(continued);
}

void TSmtpClient::failWithReply() const {
    throw Error(withoutLineEnd(reply_));
}

void TSmtpClient::Connect() {
    BusyFor busy(busy_);
    if (!socket_.connected()) refuseLineBreak(Host, "The mail server address");
    socket_.stallTimeoutMs = StallTimeoutMs;
    socket_.connect(Host, Port);
    try {
        if (readReply(true) >= 400) failWithReply();
        introduce();
    } catch (...) {
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
        if (command("HELO " + UserID, true) < 300) return;
        if (!asked && OnAuthenticationFailed) {
            asked = true;
            bool handled = false;
            OnAuthenticationFailed(handled);
            if (handled) continue;
        }
        throw Error("Authentication failed");
    }
}

void TSmtpClient::Disconnect() {
    quit(StallTimeoutMs);
}

// QUIT and its reply, then the connection is closed whatever happened. A server that
// hangs up instead of answering QUIT has done what was asked.
void TSmtpClient::quit(int timeoutMs) {
    if (!socket_.connected()) return;
    try {
        sendLine("QUIT");
        socket_.stallTimeoutMs = timeoutMs;
        reply_ = socket_.readLine(kReadAborted);
    } catch (...) {
        socket_.close();
        throw;
    }
    socket_.close();
    if (replyCode(reply_) > 339) failWithReply();
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
    std::string boundary;
    if (!MailMessage.Attachments.empty()) {
        static thread_local std::mt19937 random{std::random_device{}()};
        boundary = makeBoundary([](int n) { return static_cast<int>(random() % n); });
    }
    const std::string header =
        headerBlock(mailHeaderLines(MailMessage, SubType, Charset, boundary));
    const std::string body = assembleBody(boundary);
    if (!socket_.connected()) throw Error("Not Connected");
    checkComplete();
    checkAddresses();
    if (OnSendStart) OnSendStart();

    if (command("RSET") >= 400) failWithReply();
    if (command("MAIL FROM:<" + MailMessage.FromAddress + ">") >= 400) failWithReply();
    for (const auto* list :
         {&MailMessage.ToAddress, &MailMessage.ToCarbonCopy, &MailMessage.ToBlindCarbonCopy}) {
        // A copy: a handler may change the lists while the loop runs.
        const std::vector<std::string> entries = *list;
        for (const std::string& entry : entries) {
            const std::string address = recipientAddress(entry);
            if (address.empty()) continue;
            if (command("RCPT TO:<" + address + ">") > 300 && OnRecipientNotFound)
                OnRecipientNotFound(entry);
        }
    }
    if (command("DATA") >= 400) failWithReply();
    socket_.sendAll(header, kSendAborted);
    sendBody(body);
    sendLine(".");
    socket_.stallTimeoutMs = FinalReplyTimeoutMs;
    if (readReply(false) >= 400) {
        if (OnFailure) OnFailure();
        failWithReply();
    }
    if (ClearParams) ClearParameters();
    busy.release();
    if (OnSuccess) OnSuccess();
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
    socket_.stallTimeoutMs = StallTimeoutMs;
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
    std::error_code ec;
    std::unique_ptr<std::FILE, FileCloser> file(
        std::filesystem::is_directory(path, ec) ? nullptr : std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (OnAttachmentNotFound) OnAttachmentNotFound(path);
        throw Error(formatText("Cannot open file %s", path));
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
