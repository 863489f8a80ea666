// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <string>

#include "support/core/ThrowawayCa.h"

namespace rostrix::test {

// Python's http.server serving folder on 127.0.0.1 and a free port, for the test's
// lifetime; started in the constructor (it waits until the server accepts connections)
// and stopped in the destructor. Given a certificate it speaks HTTPS (Python's ssl, which
// like many servers ends a reply without the TLS closing alert). Beside a served file
// NAME, a file NAME.location makes NAME a 302 redirect to the address it holds,
// NAME.cut serves NAME with its full Content-Length but only its first half, and
// NAME.chunked serves it in chunks.
class HttpServerProcess {
public:
    explicit HttpServerProcess(const std::string& folder,
                               const ThrowawayCa::Certificate& certificate = {});
    ~HttpServerProcess();
    HttpServerProcess(const HttpServerProcess&) = delete;
    HttpServerProcess& operator=(const HttpServerProcess&) = delete;

    bool running() const { return accepting_; }
    int port() const { return port_; }
    // http://127.0.0.1:<port> (https://localhost:<port> with a certificate) and path.
    std::string url(const std::string& path = {}) const;

private:
    bool secure_ = false;
    QProcess process_;
    int port_ = 0;
    bool accepting_ = false;
};

}  // namespace rostrix::test
