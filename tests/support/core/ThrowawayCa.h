// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

namespace rostrix::test {

// A certificate authority made for one test with the `openssl` command, in a temporary
// folder, and the server certificates it signs. While it lives, this process's OpenSSL
// trusts it (SSL_CERT_FILE points at it, beside the system's store); the old value comes
// back when it goes. Nothing outside the process sees it.
class ThrowawayCa {
public:
    struct Certificate {
        std::string certFile;  // PEM
        std::string keyFile;   // PEM, unencrypted
    };

    // trusted false: the authority exists but this process does not trust it.
    explicit ThrowawayCa(bool trusted = true);
    ~ThrowawayCa();
    ThrowawayCa(const ThrowawayCa&) = delete;
    ThrowawayCa& operator=(const ThrowawayCa&) = delete;

    bool ok() const { return ok_; }
    std::string caFile() const;

    // A server certificate for names (DNS names; IP literals become IP entries), valid from
    // yesterday for two days, or expired a year ago.
    Certificate issue(const std::vector<std::string>& names, bool expired = false);

private:
    bool openssl(const QStringList& arguments) const;
    std::string file(const std::string& name) const;

    QTemporaryDir dir_;
    bool ok_ = false;
    int issued_ = 0;
    std::optional<std::string> savedCertFile_;
    bool trusted_ = false;
};

}  // namespace rostrix::test
