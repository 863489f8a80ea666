// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace rostrix {

// Reading a reply header line by line; each line comes with its line end.

// The status code: the status line's second word as an integer, 0 when it is not one.
int replyStatus(std::string_view statusLine);

// Whether the reply's first line is a status line at all ("HTTP/1.0 200 OK"): a server
// that sends its body without one has given no reply to judge.
bool isStatusLine(std::string_view firstLine);

// Whether a Content-Length line holds a length: a digit right after the name and its
// blank ("-5", "x" or nothing do not).
bool validContentLength(std::string_view line);

// The header's name, upper-cased, when the line's first word is "Name:" ("" otherwise).
std::string headerName(std::string_view line);

// The Content-Length value: the digits after "Content-Length: " up to the first
// non-digit, 0 when there are none. The name must be followed by a blank to count.
long long contentLength(std::string_view line);

// A header value without the name, its leading blanks and its line end.
std::string headerValue(std::string_view line);

// The empty line (or the end of the stream) that closes the header.
bool endsHeader(std::string_view line);

}  // namespace rostrix
