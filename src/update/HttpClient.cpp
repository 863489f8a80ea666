// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/HttpClient.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string_view>
#include <utility>

#include "platform/Error.h"
#include "platform/LineFile.h"
#include "update/ChunkedBody.h"
#include "update/HttpHeader.h"

namespace rostrix {

namespace {

// A Transfer-Encoding whose last coding is "chunked".
bool chunkedCoding(std::string value) {
    for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t comma = value.rfind(',');
    std::string_view last(value);
    if (comma != std::string::npos) last.remove_prefix(comma + 1);
    while (!last.empty() && (last.front() == ' ' || last.front() == '\t')) last.remove_prefix(1);
    while (!last.empty() && (last.back() == ' ' || last.back() == '\t')) last.remove_suffix(1);
    return last == "chunked";
}

}  // namespace

// A file the reply goes into, created whole anew. It stays locked while it is written, so
// that the clean-up of a later start can tell it from what a killed run left.
struct THttpClient::OutputFile {
    int fd = -1;
    std::string path;
    OutputFile() = default;
    explicit OutputFile(const std::string& name) : path(name) {
        // The type is looked at first: a pipe of that name would hold the open for ever.
        int why = 0;
        fd = openRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC, &why);
        if (fd < 0) throw Error(fileFailureText("Cannot create file %s", path, why));
        ::flock(fd, LOCK_EX | LOCK_NB);
    }
    OutputFile(OutputFile&& other) noexcept
        : fd(std::exchange(other.fd, -1)), path(std::move(other.path)) {}
    OutputFile& operator=(OutputFile&& other) noexcept {
        std::swap(fd, other.fd);
        std::swap(path, other.path);
        return *this;
    }
    ~OutputFile() {
        if (fd >= 0) ::close(fd);
    }
    // What has arrived is on disk (in the system's hands) even if the transfer is cut off.
    void append(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                throw Error(fileFailureText("Unable to write to %s", path, n < 0 ? errno : ENOSPC));
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
};

std::string httpRequest(const HttpTarget& target) {
    return "GET " + target.path + " HTTP/1.0\r\n" + "Host: " + hostField(target) + "\r\n" +
           "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
           "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
           "Content-type: application/x-www-form-urlencoded\r\n"
           "\r\n";
}

void THttpClient::Get(const std::string& address) {
    if (connected()) throw Error("Already connected");
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};
    struct Limit {
        TSocketClient& socket;
        ~Limit() { socket.deadlineMs = 0; }
    } limit{socket_};
    socket_.deadlineMs = TotalTimeoutMs > 0 ? steadyMs() + TotalTimeoutMs : 0;
    std::string next = address;
    bool wasSecure = false;
    for (int redirects = 0;; ++redirects) {
        const HttpTarget target = splitAddress(next, Port, previousHost_);
        // A redirection never takes the exchange out of TLS without the user knowing.
        if (wasSecure && !target.secure)
            throw Error("The site " + previousHost_ +
                        " redirected from its secure https address to a plain http one; "
                        "the redirection was not followed");
        wasSecure = target.secure;
        previousHost_ = target.host;
        const std::string location = exchange(target);
        const bool redirect =
            (status_ >= 300 && status_ <= 302) || status_ == 307 || status_ == 308;
        if (!redirect || location.empty()) return;
        if (redirects == kMaxRedirects)
            throw Error("Too many redirections (more than " + std::to_string(kMaxRedirects) + ")");
        next = resolveLocation(location, target);
    }
}

std::string THttpClient::exchange(const HttpTarget& target) {
    std::string location;
    try {
        socket_.connect(target.host, target.port);
        if (target.secure) socket_.startTls(target.host, "Connection Canceled");
        socket_.sendAll(httpRequest(target), "Socket send aborted");
        location = readHeader();
        readBody(target);
    } catch (...) {
        socket_.close();
        throw;
    }
    // Closed before the outcome is reported, so a handler may start the next Get.
    socket_.close();
    if (status_ <= 298 && OnSuccess) OnSuccess(kGet);
    if (status_ >= 400 && OnFailure) OnFailure(kGet);
    return location;
}

// A line of the header; the server closing the connection before the header's blank
// line is an error, never a reply.
std::string THttpClient::readHeaderLine() {
    std::string line = socket_.readLine("Socket readln aborted");
    if (line.empty() || line.back() != '\n')
        throw Error("The server closed the connection before the end of the reply header");
    return line;
}

std::string THttpClient::readHeader() {
    total_ = 0;
    lengthKnown_ = false;
    status_ = 0;
    chunked_ = false;
    if (!OutputFileMode) Header.clear();
    std::string text = readHeaderLine();
    if (!isStatusLine(text))
        throw Error("The site " + previousHost_ + " did not answer with an HTTP status line");
    status_ = replyStatus(text);
    std::string location;
    for (;;) {
        const std::string line = readHeaderLine();
        text += line;
        if (text.size() > kMaxHeader)
            throw Error("Reply header longer than " + std::to_string(kMaxHeader) + " bytes");
        if (endsHeader(line)) break;
        const std::string name = headerName(line);
        if (name == "CONTENT-LENGTH:") {
            if (!validContentLength(line))
                throw Error("The site " + previousHost_ + " sent an invalid Content-Length");
            total_ = contentLength(line);
            lengthKnown_ = true;
        }
        if (name == "LOCATION:") location = headerValue(line);
        if (name == "TRANSFER-ENCODING:") chunked_ = chunkedCoding(headerValue(line));
    }
    if (chunked_) {
        total_ = 0;  // a length beside chunks means nothing
        lengthKnown_ = false;
    }
    storeHeader(text);
    return location;
}

void THttpClient::storeHeader(const std::string& text) {
    if (!OutputFileMode) {
        Header = text;
        return;
    }
    OutputFile(Header).append(text);
}

void THttpClient::readBody(const HttpTarget& target) {
    received_ = 0;
    OutputFile file;
    if (InputFileMode)
        file = OutputFile(Body);
    else
        Body.clear();
    const std::string abortText = InputFileMode ? "Socket send aborted" : "Socket capture aborted";
    ChunkedBody chunks;
    std::string data;
    for (;;) {
        std::string_view block = socket_.readBlockView(abortText);
        if (block.empty()) break;
        if (chunked_) {
            data.clear();
            chunks.feed(block, data);
            block = data;
        }
        if (!block.empty()) keep(block, file);
        if (chunked_ && chunks.finished()) break;
    }
    // Over TLS only the closing alert tells a whole body of unknown length from a cut one;
    // in clear a short body shows only against its length.
    const bool tlsCut =
        socket_.secure() && !socket_.closedCleanly() && (!lengthKnown_ || received_ < total_);
    const bool cut = chunked_ ? !chunks.finished() : tlsCut;
    if (lengthKnown_ && received_ > total_)
        throw Error("The site " + target.host + " sent more than the " + std::to_string(total_) +
                    " bytes it announced");
    if (cut)
        throw Error("The connection to " + target.host +
                    " ended before the whole reply had arrived");
}

void THttpClient::keep(std::string_view block, const OutputFile& file) {
    if (InputFileMode) {
        file.append(block);
    } else {
        if (Body.size() + block.size() > kMaxTextBody)
            throw Error("Reply body longer than " + std::to_string(kMaxTextBody) + " bytes");
        Body += block;
    }
    received_ += static_cast<long long>(block.size());
    if (OnPacketRecvd) OnPacketRecvd();
}

}  // namespace rostrix
