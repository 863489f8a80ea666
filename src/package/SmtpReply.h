// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// A reply longer than this ends the exchange: no mail server needs more to say anything.
inline constexpr std::size_t kMaxReplyLines = 1000;
inline constexpr std::size_t kMaxReplyBytes = std::size_t{1} << 20;

// What one line of a reply says: its three-digit code and whether another line follows
// ("250-" goes on, "250 " or a bare "250" ends the reply).
struct ReplyLine {
    int code = 0;
    bool more = false;
};

// Reads one reply line (with or without its line end). A line that does not start with
// three digits followed by a blank, "-" or the line end, or whose code is not 2xx to 5xx,
// is an Error naming the line.
ReplyLine replyLine(std::string_view line);

// The extensions a server lists in its EHLO reply that the submission exchange uses.
struct Capabilities {
    bool startTls = false;
    bool auth = false;  // AUTH is offered at all
    bool authPlain = false;
    bool authLogin = false;
};

// Reads the extensions from the lines of an EHLO reply (each without its line end); the
// first line names the server and lists nothing. Keywords are matched without regard to
// case; "AUTH=PLAIN LOGIN", an older spelling some servers still send, counts too.
Capabilities capabilities(const std::vector<std::string>& ehloLines);

}  // namespace rostrix
