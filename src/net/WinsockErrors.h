// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>

namespace rostrix {

// One row of the classic WinSock error table: the number users and logs know, and its text.
struct WinsockError {
    int code;
    const char* text;
};

// The 51 rows, in the order the program has always listed them.
std::span<const WinsockError> winsockErrors();

// The text of a WinSock number, or "Unknown Error No. <n>" for a number not in the table.
std::string winsockErrorText(int code);

// "<number>:<text>", the form every socket error is reported in.
std::string socketErrorMessage(int code);

// The WinSock number of a POSIX errno value, so the familiar texts are shown; a value
// with no counterpart is passed through unchanged.
int winsockFromErrno(int err);

// Would block: no data yet, the wait goes on.
inline constexpr int kWouldBlock = 10035;
// Not connected during a read: the peer has finished the reply.
inline constexpr int kNotConnected = 10057;
inline constexpr int kTimedOut = 10060;

}  // namespace rostrix
