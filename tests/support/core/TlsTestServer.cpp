// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/TlsTestServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/core/LoopbackServer.h"

namespace rostrix::test {

TlsPeer::~TlsPeer() {
    SSL_free(ssl_);
}

bool TlsPeer::accept() {
    ssl_ = SSL_new(context_);
    SSL_set_fd(ssl_, fd_);
    return SSL_accept(ssl_) == 1;
}

std::string TlsPeer::readLine() {
    for (;;) {
        const std::size_t lf = buffer_.find('\n');
        if (lf != std::string::npos) {
            std::string line = buffer_.substr(0, lf + 1);
            buffer_.erase(0, lf + 1);
            return line;
        }
        char data[16384];
        const int n = ssl_ ? SSL_read(ssl_, data, sizeof data)
                           : static_cast<int>(::recv(fd_, data, sizeof data, 0));
        if (n <= 0) return std::exchange(buffer_, {});
        buffer_.append(data, static_cast<std::size_t>(n));
    }
}

void TlsPeer::send(std::string_view bytes) {
    if (!ssl_) {
        LoopbackServer::send(fd_, bytes);
        return;
    }
    while (!bytes.empty()) {
        const int n = SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TlsPeer::sendTrickled(std::string_view bytes, int pauseMs) {
    // The record is made in memory, then let out byte by byte.
    BIO* socket = SSL_get_wbio(ssl_);
    BIO_up_ref(socket);
    BIO* memory = BIO_new(BIO_s_mem());
    SSL_set0_wbio(ssl_, memory);
    SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
    char* data = nullptr;
    const long size = BIO_get_mem_data(memory, &data);
    const std::string record(data, static_cast<std::size_t>(size));
    SSL_set0_wbio(ssl_, socket);
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    for (const char c : record) {
        if (::send(fd_, &c, 1, MSG_NOSIGNAL) != 1) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
}

void TlsPeer::closeNotify() {
    if (ssl_) SSL_shutdown(ssl_);
}

TlsTestServer::TlsTestServer(const ThrowawayCa::Certificate& certificate, Script script)
    : script_(std::move(script)) {
    // OpenSSL writes to the socket with write(): a client gone away must not end the tests.
    ::signal(SIGPIPE, SIG_IGN);
    context_ = SSL_CTX_new(TLS_server_method());
    SSL_CTX_use_certificate_chain_file(context_, certificate.certFile.c_str());
    SSL_CTX_use_PrivateKey_file(context_, certificate.keyFile.c_str(), SSL_FILETYPE_PEM);
    listener_ = listenLoopback(port_);
    thread_ = std::thread([this] { run(); });
}

TlsTestServer::~TlsTestServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
    SSL_CTX_free(context_);
}

void TlsTestServer::run() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        const timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        {
            TlsPeer peer(fd, context_);
            script_(peer);
        }
        ::close(fd);
    }
}

}  // namespace rostrix::test
