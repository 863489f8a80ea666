// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "net/SocketClient.h"
#include "update/HttpAddress.h"

namespace rostrix {

// An HTTP/1.0 client fetching one resource at a time with GET, into memory or into a
// file, with progress counters and abort; https addresses go over TLS. It runs on the
// user-interface thread: its waits call the socket's pump, so handlers (progress, abort)
// run during a Get.
class THttpClient {
public:
    static constexpr int kGet = 0;  // command code passed to OnSuccess / OnFailure
    static constexpr int kMaxRedirects = 10;
    // A reply header larger than this ends the Get: a server cannot fill our memory.
    static constexpr std::size_t kMaxHeader = 1 << 20;
    // A reply body kept as text (InputFileMode off) larger than this ends the Get too; a
    // body written to a file has no limit and is never held whole.
    static constexpr std::size_t kMaxTextBody = 1 << 20;

    // With InputFileMode off, Body receives the reply body; with it on, Body names the
    // file the body is written to. Header and OutputFileMode do the same for the header.
    std::string Body = "Default.htm";
    std::string Header = "Head.txt";
    bool InputFileMode = false;
    bool OutputFileMode = false;
    int Port = 0;  // 0 means 80
    // The whole Get, redirections included, ends with "10060:Connection timed out" when it
    // takes longer than this, however steadily the server sends; 0 means no limit. The
    // stall limit of each wait holds besides.
    int TotalTimeoutMs = 0;

    std::function<void()> OnPacketRecvd;         // after each body block
    std::function<void(int command)> OnSuccess;  // status 298 or less
    std::function<void(int command)> OnFailure;  // status 400 or more

    // The connection's settings: pump, resolver and stall limit.
    TSocketClient& socket() { return socket_; }

    // Fetches address, following up to kMaxRedirects redirects (never from https down to
    // http). Errors end it with an Error; an error status from the server does not
    // (OnFailure reports it). A reply known to be cut short is an Error too: a chunked
    // body without its last chunk, a TLS stream that ended without its closing alert
    // before the announced length or, with no length announced, at all; so is a body
    // longer than its announced length. 301, 302, 307 and 308 are followed.
    void Get(const std::string& address);
    // Ends the Get in progress with the abort text of its phase.
    void Abort() { socket_.cancel(); }

    int statusCode() const { return status_; }
    // The last Content-Length, or 0 (also for a chunked reply, whose length is not known).
    long long bytesTotal() const { return total_; }
    long long bytesReceived() const { return received_; }  // body bytes of this reply
    // True from the start of a Get to its end, the host lookup included.
    bool connected() const { return busy_ || socket_.connected(); }

private:
    // One request and its reply; returns the reply's Location ("" when it has none).
    std::string exchange(const HttpTarget& target);
    std::string readHeader();
    std::string readHeaderLine();
    void storeHeader(const std::string& text);
    void readBody(const HttpTarget& target);
    struct OutputFile;
    void keep(std::string_view block, const OutputFile& file);

    TSocketClient socket_;
    std::string previousHost_;
    bool busy_ = false;
    int status_ = 0;
    bool chunked_ = false;
    long long total_ = 0;
    bool lengthKnown_ = false;  // the reply said its length
    long long received_ = 0;
};

// The request bytes for one GET.
std::string httpRequest(const HttpTarget& target);

}  // namespace rostrix
