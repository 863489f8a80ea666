// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/HttpAddress.h"

#include <QString>
#include <QUrl>

#include "platform/Error.h"

namespace rostrix {

namespace {

int schemePort(const QString& scheme) {
    if (scheme == "https") return 443;
    if (scheme == "gopher") return 70;
    if (scheme == "ftp") return 21;
    return 80;
}

bool hasScheme(const std::string& address) {
    const std::size_t colon = address.find("://");
    if (colon == std::string::npos || colon == 0) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = address[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return true;
}

std::string bracketed(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

HttpTarget splitAddress(const std::string& address, int portSetting,
                        const std::string& previousHost) {
    if (address.empty()) throw Error("Empty URL");
    if (address.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        throw Error("Line break in URL");
    const bool schemed = hasScheme(address);
    std::string full = address;
    if (!schemed)
        full = "http://" + (address[0] == '/' ? bracketed(previousHost) + address : address);
    const QUrl url(QString::fromUtf8(full), QUrl::TolerantMode);
    if (!url.isValid()) {
        if (url.errorString().startsWith("Invalid port"))
            throw Error("Invalid port in URL");
        throw Error("Invalid URL: " + address);
    }
    HttpTarget target;
    const QString scheme = url.scheme().toLower();
    target.secure = scheme == "https";
    target.schemePort = schemed ? schemePort(scheme) : 80;
    const int given = portSetting == 0 ? 80 : portSetting;
    target.port = url.port(schemed ? target.schemePort : given);
    if (target.port < 1 || target.port > 65535) throw Error("Invalid port in URL");
    target.host = url.host(QUrl::FullyEncoded).toStdString();
    if (target.host.empty()) throw Error("Invalid URL: " + address);
    target.path = url.path(QUrl::FullyEncoded).toStdString();
    if (url.hasQuery()) target.path += "?" + url.query(QUrl::FullyEncoded).toStdString();
    if (target.path.empty() || target.path[0] != '/') target.path.insert(0, "/");
    return target;
}

std::string hostField(const HttpTarget& target) {
    std::string field = bracketed(target.host);
    if (target.port != target.schemePort) field += ":" + std::to_string(target.port);
    return field;
}

std::string resolveLocation(const std::string& location, const HttpTarget& current) {
    // Left as it is, for splitAddress to refuse: never encoded into something it accepts.
    if (location.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return location;
    const std::string base = std::string(current.secure ? "https://" : "http://") +
                             bracketed(current.host) + ":" + std::to_string(current.port) +
                             current.path;
    const QUrl resolved = QUrl(QString::fromStdString(base))
                              .resolved(QUrl(QString::fromUtf8(location), QUrl::TolerantMode));
    return resolved.toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace rostrix
