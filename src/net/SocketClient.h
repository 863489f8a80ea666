// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/HostLookup.h"

namespace rostrix {

class TlsSession;

// A TCP client connection whose every wait runs in small steps: between steps it calls
// pump (the windows pass one that processes user-interface events, so they stay live)
// and checks the cancel flag. Shared by the HTTP and mail clients; it knows no protocol.
// Failures are Errors: the caller's abort text, the lookup and connect texts, or
// "<number>:<text>" from the WinSock table for socket errors. After startTls the same
// calls read and write through TLS.
class TSocketClient {
public:
    // Longest line readLine accepts, line feed included, and the largest block.
    static constexpr std::size_t kMaxLine = 65536;
    static constexpr std::size_t kBlockSize = 65536;

    TSocketClient();
    ~TSocketClient();
    TSocketClient(const TSocketClient&) = delete;
    TSocketClient& operator=(const TSocketClient&) = delete;

    std::function<void()> pump;
    Resolver resolver = systemResolve;
    // A wait that sees no progress for this long ends the exchange; 0 waits for ever.
    int stallTimeoutMs = 5 * 60 * 1000;
    // An instant (steadyMs) by which every wait must be over however much arrives; 0 none.
    // Reaching it ends the wait like a stall.
    long long deadlineMs = 0;

    // Looks the host up (on a helper thread) and connects. Clears the cancel flag first;
    // refused while a connection is open.
    void connect(const std::string& host, int port);
    void sendAll(std::string_view bytes, const std::string& abortText);
    // The next line with its line feed; at the end of the stream what is left (maybe "").
    // deadline (steadyMs, 0 none) bounds this one call, every wait of it, TLS records
    // trickled byte by byte included; it takes the place of the stall limit for the call.
    std::string readLine(const std::string& abortText, long long deadline = 0);
    // The next block of at most kBlockSize bytes; "" once the peer has closed.
    std::string readBlock(const std::string& abortText);
    // The same without a copy: a view of the socket's own buffer, good until the next read.
    std::string_view readBlockView(const std::string& abortText);
    // Upgrades the open connection to TLS (STARTTLS) or starts it right after connect
    // (implicit TLS). The certificate chain is checked against the system's trust store
    // (SSL_CERT_FILE / SSL_CERT_DIR honoured) and must be for hostName (a name or an IP
    // literal); TLS 1.2 or newer; SNI for names. Bytes received in clear and not yet read
    // are refused: a server cannot slip them in ahead of the encrypted session. The
    // handshake waits like every other wait (pump, cancel, stall limit).
    void startTls(const std::string& hostName, const std::string& abortText);
    bool secure() const { return tls_ != nullptr; }
    // Bytes received and not yet handed out.
    std::size_t buffered() const { return buffer_.size(); }
    // After readBlock/readLine hit the end of the stream over TLS: whether the peer
    // closed it with its closing alert (a cut connection looks the same otherwise).
    bool closedCleanly() const { return closedCleanly_; }
    void close();

    bool connected() const { return fd_ >= 0; }
    // Makes the current or next wait end with its abort text.
    void cancel() { cancelled_ = true; }

private:
    std::vector<SocketAddress> lookUp(const std::string& host);
    bool tryConnect(const SocketAddress& address);
    // Returns when the socket is ready for events; throws on cancel, a stall or when the
    // deadline (or deadlineMs) has passed.
    void waitFor(short events, const std::string& abortText, const std::string& stallText,
                 long long deadline = 0);
    bool stalled(long long startedMs) const;
    bool pastDeadline(long long deadline) const;
    // Reads what has arrived into the buffer; false at the end of the stream.
    bool receive(const std::string& abortText, long long deadline);
    // Reads what has arrived (waiting only when nothing has) into the inbox; the number of
    // bytes, 0 at the end of the stream.
    std::size_t receiveSome(const std::string& abortText, long long deadline);
    std::size_t receiveSomeTls(const std::string& abortText, long long deadline);
    void sendAllTls(std::string_view bytes, const std::string& abortText);
    // The pump, cancel and deadline check of a wait that need not wait.
    void checkIn(const std::string& abortText, long long deadline);

    int fd_ = -1;
    std::unique_ptr<TlsSession> tls_;
    bool tlsEnded_ = false;  // the end of the TLS stream was seen, maybe behind the last data
    bool closedCleanly_ = false;
    bool cancelled_ = false;
    std::string buffer_;  // received but not yet handed out
    // Where every read lands first: made once, so a transfer allocates and clears nothing
    // per block.
    std::unique_ptr<char[]> inbox_;
};

// Milliseconds on a steady clock, for the stall limits.
long long steadyMs();

}  // namespace rostrix
