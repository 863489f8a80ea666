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

    // Looks the host up (on a helper thread) and connects. Clears the cancel flag first;
    // refused while a connection is open.
    void connect(const std::string& host, int port);
    void sendAll(std::string_view bytes, const std::string& abortText);
    // The next line with its line feed; at the end of the stream what is left (maybe "").
    std::string readLine(const std::string& abortText);
    // The next block of at most kBlockSize bytes; "" once the peer has closed.
    std::string readBlock(const std::string& abortText);
    // Upgrades the open connection to TLS (STARTTLS) or starts it right after connect
    // (implicit TLS). The certificate chain is checked against the system's trust store
    // (SSL_CERT_FILE / SSL_CERT_DIR honoured) and must be for hostName (a name or an IP
    // literal); TLS 1.2 or newer; SNI for names. Bytes received in clear and not yet read
    // are refused: a server cannot slip them in ahead of the encrypted session. The
    // handshake waits like every other wait (pump, cancel, stall limit).
    void startTls(const std::string& hostName, const std::string& abortText);
    bool secure() const { return tls_ != nullptr; }
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
    // Returns when the socket is ready for events; throws on cancel or a stall.
    void waitFor(short events, const std::string& abortText, const std::string& stallText);
    bool stalled(long long startedMs) const;
    // Reads what has arrived into the buffer; false at the end of the stream.
    bool receive(const std::string& abortText);
    bool receiveTls(const std::string& abortText);
    void sendAllTls(std::string_view bytes, const std::string& abortText);
    // The pump and cancel check of a wait that need not wait.
    void checkIn(const std::string& abortText);

    int fd_ = -1;
    std::unique_ptr<TlsSession> tls_;
    bool tlsEnded_ = false;  // the end of the TLS stream was seen, maybe behind the last data
    bool closedCleanly_ = false;
    bool cancelled_ = false;
    std::string buffer_;  // received but not yet handed out
};

// Milliseconds on a steady clock, for the stall limits.
long long steadyMs();

}  // namespace rostrix
