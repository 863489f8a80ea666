#include "update/HttpClient.h"

#include <fstream>

#include "platform/Error.h"
#include "update/HttpHeader.h"

namespace rostrix {

namespace {

std::ofstream createFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw Error(formatText("Cannot create file %s", path));
    return out;
}

void appendTo(std::ofstream& out, const std::string& bytes, const std::string& path) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();  // what has arrived is on disk even if the transfer is cut off
    if (!out) throw Error(formatText("Unable to write to %s", path));
}

}  // namespace

std::string httpRequest(const HttpTarget& target) {
    return "GET " + target.path + " HTTP/1.0\r\n" + "Host: " + target.host + "\r\n" +
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
    std::string next = address;
    for (int redirects = 0;; ++redirects) {
        const HttpTarget target = splitAddress(next, Port, previousHost_);
        previousHost_ = target.host;
        const std::string location = exchange(target);
        if (status_ < 300 || status_ > 302 || location.empty()) return;
        if (redirects == kMaxRedirects)
            throw Error("Too many redirections (more than " + std::to_string(kMaxRedirects) + ")");
        next = resolveLocation(location, target);
    }
}

std::string THttpClient::exchange(const HttpTarget& target) {
    std::string location;
    try {
        socket_.connect(target.host, target.port);
        socket_.sendAll(httpRequest(target), "Socket send aborted");
        location = readHeader();
        readBody();
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
    status_ = 0;
    if (!OutputFileMode) Header.clear();
    std::string text = readHeaderLine();
    status_ = replyStatus(text);
    std::string location;
    for (;;) {
        const std::string line = readHeaderLine();
        text += line;
        if (text.size() > kMaxHeader)
            throw Error("Reply header longer than " + std::to_string(kMaxHeader) + " bytes");
        if (endsHeader(line)) break;
        const std::string name = headerName(line);
        if (name == "CONTENT-LENGTH:") total_ = contentLength(line);
        if (name == "LOCATION:") location = headerValue(line);
    }
    storeHeader(text);
    return location;
}

void THttpClient::storeHeader(const std::string& text) {
    if (!OutputFileMode) {
        Header = text;
        return;
    }
    std::ofstream out = createFile(Header);
    appendTo(out, text, Header);
}

void THttpClient::readBody() {
    received_ = 0;
    std::ofstream file;
    if (InputFileMode)
        file = createFile(Body);
    else
        Body.clear();
    const std::string abortText = InputFileMode ? "Socket send aborted" : "Socket capture aborted";
    for (;;) {
        const std::string block = socket_.readBlock(abortText);
        if (block.empty()) break;
        if (InputFileMode) {
            appendTo(file, block, Body);
        } else {
            if (Body.size() + block.size() > kMaxTextBody)
                throw Error("Reply body longer than " + std::to_string(kMaxTextBody) + " bytes");
            Body += block;
        }
        received_ += static_cast<long long>(block.size());
        if (OnPacketRecvd) OnPacketRecvd();
    }
}

}  // namespace rostrix
