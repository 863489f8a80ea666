// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// Where one request goes.
struct HttpTarget {
    std::string host;  // a name or an IP literal, IPv6 without its brackets
    int port = 80;
    std::string path = "/";  // the path and query as sent, "/" at least
    bool secure = false;     // https: the exchange goes over TLS
    int schemePort = 80;     // the scheme's own port, left out of the Host line
};

// Splits an address: a scheme before "://" picks the port (gopher 70, ftp 21, https 443
// and TLS, anything else 80), a port in the address overrides it; an address without a
// scheme is host[:port][/path] with portSetting as its port (0 means 80), and one starting
// with "/" keeps previousHost. The address is read as a URL: a user name in it is never
// used, IPv6 literals go in brackets, the path is kept whole and sent encoded.
// Throws "Empty URL", a refusal of an address holding a line break (it would end up in
// the request), of a port out of range, or of an address that is no URL.
HttpTarget splitAddress(const std::string& address, int portSetting,
                        const std::string& previousHost);

// The Host line's value: the host (an IPv6 literal in brackets) and the port when it is
// not the scheme's own.
std::string hostField(const HttpTarget& target);

// The address a redirect's Location names, relative ones taken against the current
// target (its scheme, host and port, and for a bare name its folder).
std::string resolveLocation(const std::string& location, const HttpTarget& current);

}  // namespace rostrix
