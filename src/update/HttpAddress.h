// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// Where one request goes.
struct HttpTarget {
    std::string host;
    int port = 80;
    std::string path;     // "/" at least, at most kMaxPath characters
    bool secure = false;  // https: the exchange goes over TLS
};

inline constexpr std::size_t kMaxPath = 256;

// Splits an address the way the client always has: a scheme before the first colon picks
// the port (gopher 70, ftp 21, https 443 and TLS, anything else 80), "host:port" overrides
// it, an address starting with "/" keeps previousHost. portSetting 0 means 80.
// Throws "Empty URL" or a refusal of an address holding a line break (it would end up in
// the request) or a port out of range.
HttpTarget splitAddress(const std::string& address, int portSetting,
                        const std::string& previousHost);

// The address a redirect's Location names, relative ones taken against the current
// target (its scheme, host and port, and for a bare name its folder).
std::string resolveLocation(const std::string& location, const HttpTarget& current);

}  // namespace rostrix
