// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <string>

#include "support/core/TempFolder.h"
#include "support/core/ThrowawayCa.h"

namespace rostrix::test {

// aiosmtpd on a free loopback port with TLS and a login (tests/peers/smtp_tls_sink.py),
// saving what it accepts into its folder as message-<n>.eml and message-<n>.env.
class TlsMailServer {
public:
    // mode: "starttls", "tls" or "clear"; mechanisms: "PLAIN,LOGIN" or "LOGIN".
    TlsMailServer(const std::string& mode, const ThrowawayCa::Certificate& certificate,
                  const std::string& mechanisms, const std::string& login,
                  const std::string& password);
    ~TlsMailServer();
    TlsMailServer(const TlsMailServer&) = delete;
    TlsMailServer& operator=(const TlsMailServer&) = delete;

    // Waits until the server says it is ready.
    bool ready();
    int port() const { return port_; }
    const TempFolder& folder() const { return folder_; }

private:
    TempFolder folder_;
    QProcess process_;
    int port_ = 0;
};

}  // namespace rostrix::test
