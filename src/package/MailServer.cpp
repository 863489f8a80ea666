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
    const bool digits =
        !text.empty() && text.size() <= 5 &&
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
        throw Error(
            "Security in section [Mail] of qrdTeams.ini must be plain, starttls or tls, not \"" +
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

std::string sendFailureAdvice(SmtpStage stage, const std::string& error, const MailServer& server,
                              const RefusedHello& hello) {
    const std::string where = server.host + " port " + std::to_string(server.port);
    const auto says = [&](const char* text) { return error.find(text) != std::string::npos; };
    switch (stage) {
        case SmtpStage::Connecting:
            if (says("Null Remote Address"))
                return "No computer is known by the name " + server.host +
                       ": check the Host box for a typing error.";
            return "Nothing answered on " + where +
                   ". Check the Host box; providers take mail on port 587 with STARTTLS or on 465 "
                   "with TLS (for example smtp.provider.example:587).";
        case SmtpStage::Greeting:
            if (server.security == MailSecurity::Tls && says("secure connection"))
                return where +
                       " does not start TLS from the first byte: use port 587, or "
                       "[Mail] Security=starttls in qrdTeams.ini.";
            if (server.security != MailSecurity::Tls && says("timed out"))
                return where +
                       " took the connection but said nothing. If it expects TLS from the "
                       "first byte, set [Mail] Security=tls in qrdTeams.ini, or use port 465.";
            return {};
        case SmtpStage::Securing:
            if (says("offers no encryption"))
                return "Rostrix sends a login only over an encrypted connection. Use your "
                       "provider's port 587 (STARTTLS) or 465 (TLS); a league server in clear "
                       "takes mail on port 25.";
            return {};
        case SmtpStage::LoggingIn:
            if (server.security == MailSecurity::Plain && !hello.reply.empty())
                return "The server refused HELO " +
                       (hello.name.empty() ? std::string("with no name (User ID is empty)")
                                           : hello.name) +
                       ": " + hello.reply;
            if (says("No password was given")) return {};
            return "The server refused the login: check the User ID (or the From address, used "
                   "when User ID is empty) and the password; many providers want an app password.";
        case SmtpStage::Sending:
        case SmtpStage::Finishing:
            return "The library has not received the message; Send starts a new send.";
        case SmtpStage::Closing:
            return {};
    }
    return {};
}

std::string sendFailureText(SmtpStage stage, const std::string& error, const MailServer& server,
                            const RefusedHello& hello) {
    const std::string advice = sendFailureAdvice(stage, error, server, hello);
    if (advice.empty()) return {};
    const bool stop = !error.empty() && static_cast<unsigned char>(error.back()) > '.';
    return error + (stop ? "." : "") + "\n" + advice;
}

}  // namespace rostrix
