// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/HttpAddress.h"

#include <algorithm>
#include <cctype>

#include "platform/Error.h"

namespace rostrix {

namespace {

// The index-th piece of text split at sep, empty pieces counted; "" past the last.
std::string word(const std::string& text, char sep, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find(sep, start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return text.substr(start, text.find(sep, start) - start);
}

void takeScheme(const std::string& address, HttpTarget& target) {
    const std::size_t colon = address.find(':');
    if (colon == std::string::npos) return;
    std::string scheme = address.substr(0, colon);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    target.secure = scheme == "https";
    if (target.secure)
        target.port = 443;
    else if (scheme == "gopher")
        target.port = 70;
    else if (scheme == "ftp")
        target.port = 21;
    else
        target.port = 80;
}

// "host:8080" gives host and port 8080; a colon without digits after it leaves the port.
void splitHostPort(HttpTarget& target) {
    const std::size_t colon = target.host.find(':');
    if (colon == std::string::npos) return;
    int port = 0;
    std::size_t i = colon + 1;
    for (; i < target.host.size() && std::isdigit(static_cast<unsigned char>(target.host[i])) &&
           port < 100000;
         ++i)
        port = port * 10 + (target.host[i] - '0');
    if (i > colon + 1) {
        if (port < 1 || port > 65535) throw Error("Invalid port in URL");
        target.port = port;
    }
    target.host.erase(colon);
}

}  // namespace

HttpTarget splitAddress(const std::string& address, int portSetting,
                        const std::string& previousHost) {
    if (address.empty()) throw Error("Empty URL");
    if (address.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        throw Error("Line break in URL");
    HttpTarget target;
    target.port = portSetting == 0 ? 80 : portSetting;
    takeScheme(address, target);
    const bool hasSlashes = address.find("//") != std::string::npos;
    if (hasSlashes)
        target.host = word(address, '/', 2);
    else if (address[0] == '/')
        target.host = previousHost;
    else
        target.host = word(address, '/', 0);
    splitHostPort(target);

    std::size_t from = std::string::npos;
    if (hasSlashes) {
        from = address.find('/', address.find('/', address.find('/') + 1) + 1);
    } else {
        from = address.find('/');
    }
    if (from != std::string::npos) target.path = address.substr(from, kMaxPath);
    if (target.path.empty()) target.path.push_back('/');
    return target;
}

std::string resolveLocation(const std::string& location, const HttpTarget& current) {
    if (location.find("://") != std::string::npos) return location;
    std::string out = current.secure ? "https:" : "http:";
    if (location.rfind("//", 0) == 0) return out.append(location);
    out.append("//").append(current.host).append(":").append(std::to_string(current.port));
    if (location.rfind("/", 0) != 0) {
        const std::string path = current.path.substr(0, current.path.find('?'));
        out.append(path, 0, path.rfind('/') + 1);
    }
    return out.append(location);
}

}  // namespace rostrix
