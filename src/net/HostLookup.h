// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/socket.h>

#include <functional>
#include <string>
#include <vector>

namespace rostrix {

// One address a host name resolved to; the port is filled in when connecting.
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

// Turns a host name into its addresses (none when it has none). Runs on a helper thread,
// so it may block; tests install a fake one so no name query ever leaves the machine.
using Resolver = std::function<std::vector<SocketAddress>(const std::string& host)>;

// The system's resolver (getaddrinfo; literal addresses need no query).
std::vector<SocketAddress> systemResolve(const std::string& host);

// Sets the port of an IPv4 or IPv6 address.
void setAddressPort(SocketAddress& address, int port);

}  // namespace rostrix
