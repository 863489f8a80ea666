// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// How the mail client talks to the server: the classic exchange in clear, the submission
// exchange that turns on encryption with STARTTLS, or the same exchange inside TLS from the
// first byte.
enum class MailSecurity { Plain, StartTls, Tls };

// Where the mail goes and how.
struct MailServer {
    std::string host;  // a name or an address; an IPv6 literal without its brackets
    int port = 25;
    MailSecurity security = MailSecurity::Plain;
};

// Reads the Host box: "host", "host:port", "[v6]" or "[v6]:port" (an IPv6 literal typed
// without brackets is taken whole). Port 25 or none is the plain exchange, 465 TLS from the
// first byte, any other port STARTTLS. A security value other than "" overrides the
// choice by port and picks the port when none is typed (25, 587, 465). Throws an Error
// for a malformed address, port or security value.
MailServer mailServer(const std::string& hostBox, const std::string& security);

// How far the mail client got: what a failure happened during.
enum class SmtpStage { Connecting, Greeting, Securing, LoggingIn, Sending, Finishing, Closing };

// The plain exchange's introduction the server refused: the name sent in HELO (the User
// ID) and the server's reply.
struct RefusedHello {
    std::string name;
    std::string reply;
};

// The second line under a failed send's error: what happened, in the user's terms, and
// what to do. "" when the error says enough by itself.
std::string sendFailureAdvice(SmtpStage stage, const std::string& error, const MailServer& server,
                              const RefusedHello& hello = {});

// The error's text ended with a full stop and the advice on a line below it; "" when
// there is no advice to give.
std::string sendFailureText(SmtpStage stage, const std::string& error, const MailServer& server,
                            const RefusedHello& hello = {});

// The name this machine introduces itself with: its host name, or "localhost" when it has
// none fit to send.
std::string machineName();

}  // namespace rostrix
