#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/HostLookup.h"

namespace rostrix {

// A TCP client connection whose every wait runs in small steps: between steps it calls
// pump (the windows pass one that processes user-interface events, so they stay live)
// and checks the cancel flag. Shared by the HTTP and mail clients; it knows no protocol.
// Failures are Errors: the caller's abort text, the lookup and connect texts, or
// "<number>:<text>" from the WinSock table for socket errors.
class TSocketClient {
public:
    // Longest line readLine accepts, line feed included, and the largest block.
    static constexpr std::size_t kMaxLine = 65536;
    static constexpr std::size_t kBlockSize = 65536;

    TSocketClient() = default;
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

    int fd_ = -1;
    bool cancelled_ = false;
    std::string buffer_;  // received but not yet handed out
};

// Milliseconds on a steady clock, for the stall limits.
long long steadyMs();

}  // namespace rostrix
