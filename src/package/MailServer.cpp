// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/MailServer.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "package/MailMessage.h"
#include "platform/Error.h"

namespace rostrix {

namespace {

constexpr int kPlainPort = 25;
constexpr int kSubmissionPort = 587;
constexpr int kTlsPort = 465;

[[noreturn]] void badAddress(const std::string& box) {
    throw Error("\"" + box + "\" is not a mail server address: use host, host:port or [IPv6]:port");
}

int portOf(const std::string& text, const std::string& box) {
    const bool digits = !text.empty() && text.size() <= 5 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int port = digits ? std::stoi(text) : 0;
    if (port < 1 || port > 65535)
        throw Error("The port in \"" + box + "\" must be a number from 1 to 65535");
    return port;
}

}  // namespace

MailServer mailServer(const std::string& box, const std::string& security) {
    if (hasLineBreak(box)) throw Error("The mail server address contains a line break");
    MailServer server;
    std::string port;
    if (box.starts_with("[")) {
        const std::size_t close = box.find(']');
        if (close == std::string::npos || close == 1) badAddress(box);
        server.host = box.substr(1, close - 1);
        const std::string rest = box.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') badAddress(box);
            port = rest.substr(1);
            if (port.empty()) badAddress(box);
        }
    } else if (const std::size_t colon = box.find(':');
               colon != std::string::npos && box.find(':', colon + 1) == std::string::npos) {
        server.host = box.substr(0, colon);
        port = box.substr(colon + 1);
        if (port.empty()) badAddress(box);
    } else {
        server.host = box;
    }
    if (server.host.empty() || server.host.find_first_of(" \t[]") != std::string::npos)
        badAddress(box);
    if (!port.empty()) server.port = portOf(port, box);

    if (security == "plain") {
        server.security = MailSecurity::Plain;
        if (port.empty()) server.port = kPlainPort;
    } else if (security == "starttls") {
        server.security = MailSecurity::StartTls;
        if (port.empty()) server.port = kSubmissionPort;
    } else if (security == "tls") {
        server.security = MailSecurity::Tls;
        if (port.empty()) server.port = kTlsPort;
    } else if (security.empty()) {
        server.security = server.port == kPlainPort ? MailSecurity::Plain
                          : server.port == kTlsPort ? MailSecurity::Tls
                                                    : MailSecurity::StartTls;
    } else {
        throw Error("Security in section [Mail] of qrdTeams.ini must be plain, starttls or tls, not \"" +
                    security + "\"");
    }
    return server;
}

std::string machineName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "localhost";
    std::string host(name);
    const bool fit = !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
    });
    return fit ? host : "localhost";
}

}  // namespace rostrix
