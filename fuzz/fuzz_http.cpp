// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP client over arbitrary bytes.
// - Address splitting and Location resolution of the input: an address with a line break
//   is refused; any other gives a path starting with "/", a port of 1 to 65535 and a
//   request of exactly its six lines; a relative Location keeps host and port; errors are
//   the client's own.
// - A loopback server answers a Get with the input as its whole reply. Every request that
//   reaches it is six CR LF lines and nothing else; the outcome (status, header, body,
//   Content-Length, events, redirects followed, error) is the one the reply's bytes call
//   for, a chunked body decoded; the header stays bounded. A reply without a status line or
//   with a Content-Length that is no number is an error, never a body.
// - The input as a chunked body: fed whole, byte by byte or in uneven pieces it decodes to
//   the same bytes or the same error, never to more bytes than came in.
// Inputs that start with "~" stand for replies with a first line near 64 KiB (widenedInput).
#include <QString>
#include <QUrl>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ReplyLines.h"
#include "net/HostLookup.h"
#include "platform/Error.h"
#include "support/core/LoopbackServer.h"
#include "update/ChunkedBody.h"
#include "update/HttpAddress.h"
#include "update/HttpClient.h"
#include "update/HttpHeader.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

// Only this name resolves, to 127.0.0.1; nothing ever asks a real name server.
const std::string kHost = "fuzz.test";

bool requestWellFormed(const std::string& request) {
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < request.size(); ++i) {
        if (request[i] == '\n') return false;  // every LF comes right after its CR
        if (request[i] != '\r') continue;
        if (i + 1 == request.size() || request[i + 1] != '\n') return false;
        ++breaks;
        ++i;
    }
    return breaks == 6 && request.starts_with("GET /") && request.ends_with("\r\n\r\n");
}

bool isAllowedAddressError(const std::string& e) {
    return e == "Empty URL" || e == "Line break in URL" || e == "Invalid port in URL" ||
           e.starts_with("Invalid URL: ");
}

void checkTarget(const HttpTarget& t, const std::string& address) {
    const std::string detail = shown(address);
    FUZZ_CHECK(!t.path.empty() && t.path.front() == '/', detail);
    FUZZ_CHECK(t.port >= 1 && t.port <= 65535, detail);
    FUZZ_CHECK(requestWellFormed(httpRequest(t)), "request from " + detail);
}

void checkAddress(const std::string& address) {
    const bool lineBreak = address.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
    try {
        const HttpTarget t = splitAddress(address, 0, "previous.test");
        FUZZ_CHECK(!lineBreak, "address with a line break accepted: " + shown(address));
        checkTarget(t, address);
    } catch (const Error& e) {
        FUZZ_CHECK(isAllowedAddressError(e.what()), shown(e.what()) + " for " + shown(address));
    }
    const HttpTarget currents[] = {{"fuzz.test", 8080, "/site/kwyx.html"},
                                   {"h", 80, "/a/b?c=/d"},
                                   {"s.test", 8443, "/site/kwyx.html", true}};
    for (const HttpTarget& current : currents) {
        const std::string resolved = resolveLocation(address, current);
        // Relative as a URL reads it: no scheme, no host.
        const QUrl asUrl(QString::fromUtf8(address), QUrl::TolerantMode);
        const bool relative = asUrl.isValid() && asUrl.isRelative() && !address.starts_with("//");
        try {
            const HttpTarget t = splitAddress(resolved, 0, current.host);
            FUZZ_CHECK(!lineBreak, "Location with a line break accepted: " + shown(address));
            checkTarget(t, resolved);
            if (relative) {
                FUZZ_CHECK(
                    t.host == current.host && t.port == current.port && t.secure == current.secure,
                    "relative Location changed the server: " + shown(address));
            }
        } catch (const Error& e) {
            FUZZ_CHECK(isAllowedAddressError(e.what()),
                       shown(e.what()) + " for Location " + shown(address));
            FUZZ_CHECK(!relative || lineBreak,
                       "relative Location refused: " + shown(e.what()) + " " + shown(address));
        }
    }
}

// Each line of the input as a reply header line: the name is upper-case and ends in its
// colon, a Content-Length is never negative nor above its cap and only comes with its
// name, a value keeps no blanks at its ends, and a line end changes nothing.
void checkHeaderLines(const std::string& input) {
    for (std::size_t pos = 0; pos < input.size();) {
        const std::size_t lf = input.find('\n', pos);
        const std::size_t end = lf == std::string::npos ? input.size() : lf + 1;
        const std::string line = input.substr(pos, end - pos);
        pos = end;
        const std::string detail = " for " + shown(line);
        const std::string name = headerName(line);
        FUZZ_CHECK(
            name.empty() || (name.back() == ':' && name.find(' ') == std::string::npos &&
                             name.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos),
            "header name " + shown(name) + detail);
        const long long length = contentLength(line);
        FUZZ_CHECK(length >= 0 && length <= (1LL << 53), "Content-Length" + detail);
        FUZZ_CHECK(length == 0 || name == "CONTENT-LENGTH:",
                   "Content-Length without its name" + detail);
        const std::string value = headerValue(line);
        FUZZ_CHECK(value.empty() || (value.front() != ' ' && value.front() != '\t' &&
                                     value.back() != ' ' && value.back() != '\t'),
                   "header value " + shown(value) + detail);
        std::string bare = line;
        while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r')) bare.pop_back();
        FUZZ_CHECK(replyStatus(bare) == replyStatus(bare + "\r\n") && headerName(bare) == name,
                   "line end changed the reading" + detail);
    }
}

// Whether a Transfer-Encoding value's last coding is "chunked", any case, blanks around.
bool endsInChunked(const std::string& value) {
    std::string last = value.substr(value.find_last_of(',') + 1);
    for (char& c : last) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t from = last.find_first_not_of(" \t");
    if (from == std::string::npos) return false;
    return last.substr(from, last.find_last_not_of(" \t") + 1 - from) == "chunked";
}

// A chunked body fed in pieces of the given sizes, in turn; the bytes or the error.
std::string decodedInPieces(const std::string& bytes, std::initializer_list<std::size_t> sizes) {
    ChunkedBody chunks;
    std::string out;
    try {
        for (std::size_t at = 0, i = 0; at < bytes.size() && !chunks.finished(); ++i) {
            const std::size_t size = *(sizes.begin() + i % sizes.size());
            chunks.feed(std::string_view(bytes).substr(at, size), out);
            at += size;
        }
    } catch (const Error& e) {
        return std::string("error: ") + e.what();
    }
    return (chunks.finished() ? "done: " : "open: ") + out;
}

void checkChunked(const std::string& input) {
    const std::string whole = decodedInPieces(input, {input.size() + 1});
    FUZZ_CHECK(whole.starts_with("error: ") || whole.size() <= input.size() + 6,
               "more bytes out than in for " + shown(input));
    for (const auto sizes : {std::initializer_list<std::size_t>{1}, {3, 1, 7, 64, 2}})
        FUZZ_CHECK(decodedInPieces(input, sizes) == whole,
                   "pieces changed the decoding of " + shown(input));
}

// What a Get must come to when every reply is `reply`: read the bytes the way the client
// reads them, a line up to its LF at most 64 KiB long, until the empty line; the body (at
// most 1 MiB kept as text) is the rest, decoded when it comes in chunks.
struct Outcome {
    std::optional<std::string> error;
    std::size_t requests = 1;
    bool follows = false;  // the redirect leads back to the loopback server
    int status = 0;
    std::string header, body;
    long long total = 0;
};

Outcome expectedOutcome(const std::string& reply, const HttpTarget& first) {
    Outcome out;
    ReplyLines lines(reply);
    // A header line must end in its LF: a server that stops before the empty line has cut
    // the header short.
    const auto readLine = [&]() {
        std::optional<std::string> line = lines.next();
        if (!line) {
            out.error = lines.error;
        } else if (line->empty() || line->back() != '\n') {
            out.error = "The server closed the connection before the end of the reply header";
            line.reset();
        }
        return line;
    };
    std::optional<std::string> line = readLine();
    if (!line) return out;
    // Bytes that do not begin with a status line are no reply to judge (or show).
    if (!line->starts_with("HTTP/")) {
        out.error = "The site " + kHost + " did not answer with an HTTP status line";
        return out;
    }
    out.status = replyStatus(*line);
    out.header = *line;
    std::string location;
    bool chunked = false, lengthKnown = false;
    for (;;) {
        line = readLine();
        if (!line) return out;
        out.header += *line;
        if (out.header.size() > THttpClient::kMaxHeader) {
            out.error = "Reply header longer than 1048576 bytes";
            return out;
        }
        if (endsHeader(*line)) break;
        const std::string name = headerName(*line);
        if (name == "CONTENT-LENGTH:") {
            // A length that is no number ("-5", nothing) is never taken for 0.
            const std::size_t value = line->find(' ') + 1;
            if (value >= line->size() ||
                !std::isdigit(static_cast<unsigned char>((*line)[value]))) {
                out.error = "The site " + kHost + " sent an invalid Content-Length";
                return out;
            }
            out.total = contentLength(*line);
            lengthKnown = true;
        }
        if (name == "LOCATION:") location = headerValue(*line);
        if (name == "TRANSFER-ENCODING:") chunked = endsInChunked(headerValue(*line));
    }
    out.body = lines.rest();
    if (chunked) {
        out.total = 0;
        const std::string decoded = decodedInPieces(out.body, {out.body.size() + 1});
        if (decoded.starts_with("error: ")) {
            out.error = decoded.substr(7);
            return out;
        }
        if (decoded.starts_with("open: ")) {
            out.error = "The connection to " + kHost + " ended before the whole reply had arrived";
            return out;
        }
        out.body = decoded.substr(6);
    }
    if (out.body.size() > THttpClient::kMaxTextBody) {
        out.error = "Reply body longer than 1048576 bytes";
        return out;
    }
    if (!chunked && lengthKnown && static_cast<long long>(out.body.size()) > out.total) {
        out.error = "The site " + kHost + " sent more than the " + std::to_string(out.total) +
                    " bytes it announced";
        return out;
    }
    const bool redirect =
        (out.status >= 300 && out.status <= 302) || out.status == 307 || out.status == 308;
    if (!redirect || location.empty()) return out;
    try {
        const HttpTarget next = splitAddress(resolveLocation(location, first), 0, first.host);
        // A secure address is not looked up: this server speaks no TLS.
        out.follows = next.host == kHost && next.port == first.port && !next.secure;
        out.requests = out.follows ? THttpClient::kMaxRedirects + 1 : 1;
        out.error = out.follows ? "Too many redirections (more than 10)" : "Null Remote Address";
    } catch (const Error& e) {
        out.error = e.what();
    }
    return out;
}

struct Server {
    std::mutex mutex;
    std::string reply;
    test::LoopbackServer loopback{[this](int fd, const std::string&) {
        std::string bytes;
        {
            const std::lock_guard lock(mutex);
            bytes = reply;
        }
        test::LoopbackServer::send(fd, bytes);
    }};
};

void checkGet(const std::string& reply) {
    static Server server;
    static const std::vector<SocketAddress> loopbackAddress = systemResolve("127.0.0.1");
    {
        const std::lock_guard lock(server.mutex);
        server.reply = reply;
    }
    const HttpTarget first{kHost, server.loopback.port(), "/fuzz"};
    const Outcome want = expectedOutcome(reply, first);

    THttpClient client;
    std::atomic<int> lookups{0};
    // The first lookup finds the server; a redirect only when it leads back to it, so a
    // Location never sends a request anywhere else.
    client.socket().resolver = [&](const std::string& host) {
        const bool first = lookups++ == 0;
        return host == kHost && (first || want.follows) ? loopbackAddress
                                                        : std::vector<SocketAddress>{};
    };
    client.socket().stallTimeoutMs = 20000;
    int successes = 0, failures = 0;
    client.OnSuccess = [&](int command) { successes += command == THttpClient::kGet; };
    client.OnFailure = [&](int command) { failures += command == THttpClient::kGet; };
    std::optional<std::string> error;
    try {
        client.Get("http://" + kHost + ":" + std::to_string(first.port) + first.path);
    } catch (const Error& e) {
        error = e.what();
    }
    const std::vector<std::string> requests = server.loopback.takeRequests();
    const std::string detail = " for reply " + shown(reply, 400);

    FUZZ_CHECK(!client.connected(), "still connected" + detail);
    FUZZ_CHECK(requests.size() == want.requests,
               std::to_string(requests.size()) + " requests" + detail);
    for (const std::string& request : requests)
        FUZZ_CHECK(requestWellFormed(request), "request " + shown(request) + detail);
    FUZZ_CHECK(
        requests.empty() || requests[0].starts_with("GET /fuzz HTTP/1.0\r\nHost: fuzz.test:" +
                                                    std::to_string(first.port) + "\r\n"),
        "first request" + detail);
    FUZZ_CHECK(error == want.error, "error " + shown(error.value_or("none")) + " not " +
                                        shown(want.error.value_or("none")) + detail);
    if (error) {
        FUZZ_CHECK(successes == 0 && failures == 0, "events after an error" + detail);
        return;
    }
    FUZZ_CHECK(client.statusCode() == want.status, "status" + detail);
    FUZZ_CHECK(client.Header == want.header, "header " + shown(client.Header) + detail);
    FUZZ_CHECK(client.Body == want.body, "body " + shown(client.Body) + detail);
    FUZZ_CHECK(client.bytesReceived() == static_cast<long long>(want.body.size()),
               "bytes received" + detail);
    FUZZ_CHECK(client.bytesTotal() == want.total, "bytes total" + detail);
    FUZZ_CHECK(
        successes == (want.status <= 298 ? 1 : 0) && failures == (want.status >= 400 ? 1 : 0),
        "events" + detail);
    FUZZ_CHECK(client.Header.size() <= THttpClient::kMaxHeader + TSocketClient::kMaxLine,
               "header unbounded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        checkAddress(input);
        checkHeaderLines(input);
        checkChunked(input);
        checkGet(widenedInput(input));
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "an exception other than the client's Error", e.what());
    }
    return 0;
}
