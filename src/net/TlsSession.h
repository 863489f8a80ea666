// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace rostrix {

// The OpenSSL side of a socket's TLS: one client session on a non-blocking socket. It
// never waits; each call says what it needs before it can go on, and the socket client
// does the waiting (with its pump, cancel flag and stall limit). Failures are Errors in
// plain words naming the host.
class TlsSession {
public:
    enum class Step {
        Done,       // the call did its work
        WantRead,   // wait until the socket is readable, then call again
        WantWrite,  // wait until the socket is writable, then call again
        CleanEnd,   // the peer ended the stream with its closing alert
        CutEnd,     // the stream ended without the closing alert
    };

    // Sets up a session on fd for hostName (a name or an IP literal): the system's trust
    // store (SSL_CERT_FILE / SSL_CERT_DIR honoured), TLS 1.2 or newer, the certificate
    // checked against the name, SNI for names.
    TlsSession(int fd, const std::string& hostName);
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    Step handshake();
    // Reads what is ready, at most size bytes; got tells how many on Done.
    Step read(char* data, std::size_t size, std::size_t& got);
    // Writes from data; put tells how many bytes were taken on Done.
    Step write(const char* data, std::size_t size, std::size_t& put);
    // Sends our closing alert when the socket takes it at once; never waits.
    void sayGoodbye();

    struct Impl;  // the OpenSSL objects, known only to the implementation

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace rostrix
