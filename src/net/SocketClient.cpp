// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/SocketClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "net/TlsSession.h"
#include "net/WinsockErrors.h"
#include "platform/Error.h"

namespace rostrix {

namespace {

constexpr int kStepMs = 10;

[[noreturn]] void throwSocketError(int err) {
    throw Error(socketErrorMessage(winsockFromErrno(err)));
}

}  // namespace

long long steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TSocketClient::TSocketClient() : inbox_(std::make_unique<char[]>(kBlockSize)) {}

TSocketClient::~TSocketClient() {
    close();
}

void TSocketClient::connect(const std::string& host, int port) {
    if (connected()) throw Error("Already connected");
    cancelled_ = false;
    closedCleanly_ = false;
    buffer_.clear();
    std::vector<SocketAddress> addresses = lookUp(host);
    if (addresses.empty()) throw Error("Null Remote Address");
    for (SocketAddress& address : addresses) {
        setAddressPort(address, port);
        if (tryConnect(address)) return;
    }
    throw Error("Connection Failed");
}

bool TSocketClient::tryConnect(const SocketAddress& address) {
    fd_ = ::socket(address.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throwSocketError(errno);
    int err = 0;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address.storage), address.length) != 0)
        err = errno;
    if (err == EINPROGRESS) {
        try {
            waitFor(POLLOUT, "Connection Canceled", "Connection Timed out");
        } catch (...) {
            close();
            throw;
        }
        socklen_t len = sizeof err;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
    }
    if (err != 0) close();
    return err == 0;
}

std::vector<SocketAddress> TSocketClient::lookUp(const std::string& host) {
    // Shared with the helper thread, which may outlive an abandoned lookup.
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::vector<SocketAddress> addresses;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, resolve = resolver, host] {
        std::vector<SocketAddress> found;
        try {
            found = resolve(host);
        } catch (...) {
        }
        const std::lock_guard lock(lookup->mutex);
        lookup->addresses = std::move(found);
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    const long long started = steadyMs();
    for (;;) {
        if (pump) pump();
        if (cancelled_) throw Error("Host Lookup Canceled");
        std::unique_lock lock(lookup->mutex);
        if (lookup->done.wait_for(lock, std::chrono::milliseconds(kStepMs),
                                  [&] { return lookup->finished; }))
            return std::move(lookup->addresses);
        if (stalled(started) || pastDeadline(0)) throw Error("Host Lookup Timed Out");
    }
}

void TSocketClient::waitFor(short events, const std::string& abortText,
                            const std::string& stallText, long long deadline) {
    const long long started = steadyMs();
    for (;;) {
        if (pump) pump();
        if (cancelled_) throw Error(abortText);
        // Checked before the socket, so a peer that always has more cannot outrun it.
        if (pastDeadline(deadline)) throw Error(stallText);
        pollfd p{fd_, events, 0};
        const int r = ::poll(&p, 1, kStepMs);
        if (r > 0) return;  // an error or hang-up is reported by the call that follows
        if (r < 0 && errno != EINTR) throwSocketError(errno);
        // A call given its own deadline is bounded by that instead.
        if (deadline <= 0 && stalled(started)) throw Error(stallText);
    }
}

bool TSocketClient::stalled(long long startedMs) const {
    return stallTimeoutMs > 0 && steadyMs() - startedMs >= stallTimeoutMs;
}

bool TSocketClient::pastDeadline(long long deadline) const {
    if (deadline <= 0 && deadlineMs <= 0) return false;
    const long long now = steadyMs();
    return (deadline > 0 && now >= deadline) || (deadlineMs > 0 && now >= deadlineMs);
}

void TSocketClient::checkIn(const std::string& abortText, long long deadline) {
    if (pump) pump();
    if (cancelled_) throw Error(abortText);
    if (pastDeadline(deadline)) throw Error(socketErrorMessage(kTimedOut));
}

void TSocketClient::startTls(const std::string& hostName, const std::string& abortText) {
    if (!connected()) throw Error(socketErrorMessage(kNotConnected));
    if (tls_) throw Error("The connection to " + hostName + " is already secure");
    // What a server sent before its go-ahead was read as plain text; what it sent after
    // would be taken as coming from inside the encrypted session.
    if (!buffer_.empty()) {
        close();
        throw Error("The server " + hostName +
                    " sent data before the secure connection began; the connection was closed "
                    "for safety");
    }
    closedCleanly_ = false;
    try {
        tls_ = std::make_unique<TlsSession>(fd_, hostName);
        for (;;) {
            const TlsSession::Step step = tls_->handshake();
            if (step == TlsSession::Step::Done) return;
            waitFor(step == TlsSession::Step::WantRead ? POLLIN : POLLOUT, abortText,
                    socketErrorMessage(kTimedOut));
        }
    } catch (...) {
        close();
        throw;
    }
}

void TSocketClient::sendAll(std::string_view bytes, const std::string& abortText) {
    if (tls_) {
        sendAllTls(bytes, abortText);
        return;
    }
    while (!bytes.empty()) {
        waitFor(POLLOUT, abortText, socketErrorMessage(kTimedOut));
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (winsockFromErrno(errno) == kWouldBlock || errno == EINTR) continue;
            throwSocketError(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TSocketClient::sendAllTls(std::string_view bytes, const std::string& abortText) {
    short waitingFor = POLLOUT;
    while (!bytes.empty()) {
        waitFor(waitingFor, abortText, socketErrorMessage(kTimedOut));
        std::size_t put = 0;
        switch (tls_->write(bytes.data(), bytes.size(), put)) {
            case TlsSession::Step::Done:
                bytes.remove_prefix(put);
                waitingFor = POLLOUT;
                break;
            case TlsSession::Step::WantRead:
                waitingFor = POLLIN;
                break;
            case TlsSession::Step::WantWrite:
                waitingFor = POLLOUT;
                break;
            default:  // the peer has closed: nothing more can be sent
                throw Error(socketErrorMessage(winsockFromErrno(EPIPE)));
        }
    }
}

// Reads as much as the session has ready, up to a block; a wait only when it has nothing.
std::size_t TSocketClient::receiveSomeTls(const std::string& abortText, long long deadline) {
    if (tlsEnded_) return 0;
    checkIn(abortText, deadline);
    std::size_t filled = 0;
    for (;;) {
        std::size_t got = 0;
        const TlsSession::Step step = tls_->read(inbox_.get() + filled, kBlockSize - filled, got);
        filled += got;
        if (step == TlsSession::Step::Done) {
            if (filled < kBlockSize) continue;
            break;
        }
        if (step == TlsSession::Step::CleanEnd || step == TlsSession::Step::CutEnd) {
            tlsEnded_ = true;
            closedCleanly_ = step == TlsSession::Step::CleanEnd;
            break;
        }
        if (filled > 0) break;  // hand out what arrived; wait on the next call
        waitFor(step == TlsSession::Step::WantRead ? POLLIN : POLLOUT, abortText,
                socketErrorMessage(kTimedOut), deadline);
    }
    return filled;
}

// The socket is read first and waited on only when it has nothing: a steady transfer
// costs one call per block, and the pump and the cancel flag are still seen every time.
std::size_t TSocketClient::receiveSome(const std::string& abortText, long long deadline) {
    if (tls_) return receiveSomeTls(abortText, deadline);
    checkIn(abortText, deadline);
    for (;;) {
        const ssize_t n = ::recv(fd_, inbox_.get(), kBlockSize, 0);
        if (n >= 0) return static_cast<std::size_t>(n);
        const int code = winsockFromErrno(errno);
        if (code == kNotConnected) return 0;
        if (code == kWouldBlock)
            waitFor(POLLIN, abortText, socketErrorMessage(kTimedOut), deadline);
        else if (errno != EINTR)
            throwSocketError(errno);
    }
}

bool TSocketClient::receive(const std::string& abortText, long long deadline) {
    const std::size_t n = receiveSome(abortText, deadline);
    buffer_.append(inbox_.get(), n);
    return n > 0;
}

std::string TSocketClient::readLine(const std::string& abortText, long long deadline) {
    std::size_t searched = 0;
    for (;;) {
        const std::size_t lf = buffer_.find('\n', searched);
        if (lf != std::string::npos && lf < kMaxLine) {
            std::string line = buffer_.substr(0, lf + 1);
            buffer_.erase(0, lf + 1);
            return line;
        }
        if (buffer_.size() >= kMaxLine)
            throw Error("Reply line longer than " + std::to_string(kMaxLine) + " bytes");
        searched = buffer_.size();
        if (!receive(abortText, deadline)) return std::exchange(buffer_, {});
    }
}

std::string TSocketClient::readBlock(const std::string& abortText) {
    return std::string(readBlockView(abortText));
}

std::string_view TSocketClient::readBlockView(const std::string& abortText) {
    if (buffer_.empty()) {
        const std::size_t n = receiveSome(abortText, 0);
        return {inbox_.get(), n};
    }
    // What a line read left over goes first.
    const std::size_t n = std::min(buffer_.size(), kBlockSize);
    buffer_.copy(inbox_.get(), n);
    buffer_.erase(0, n);
    return {inbox_.get(), n};
}

void TSocketClient::close() {
    if (tls_) tls_->sayGoodbye();
    tls_.reset();
    tlsEnded_ = false;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

}  // namespace rostrix
