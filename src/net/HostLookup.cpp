// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/HostLookup.h"

#include <netdb.h>
#include <netinet/in.h>

#include <cstring>

namespace rostrix {

std::vector<SocketAddress> systemResolve(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    std::vector<SocketAddress> out;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) return out;
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET && ai->ai_family != AF_INET6) continue;
        SocketAddress a;
        std::memcpy(&a.storage, ai->ai_addr, ai->ai_addrlen);
        a.length = ai->ai_addrlen;
        out.push_back(a);
    }
    freeaddrinfo(list);
    return out;
}

void setAddressPort(SocketAddress& address, int port) {
    const auto p = htons(static_cast<uint16_t>(port));
    if (address.storage.ss_family == AF_INET)
        reinterpret_cast<sockaddr_in*>(&address.storage)->sin_port = p;
    else if (address.storage.ss_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&address.storage)->sin6_port = p;
}

}  // namespace rostrix
