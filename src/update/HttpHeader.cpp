// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/HttpHeader.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace rostrix {

namespace {

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

int replyStatus(std::string_view statusLine) {
    std::string_view line = withoutLineEnd(statusLine);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return 0;
    line.remove_prefix(space + 1);
    line = line.substr(0, line.find(' '));
    int status = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), status);
    return ec == std::errc() && end == line.data() + line.size() && !line.empty() ? status : 0;
}

bool isStatusLine(std::string_view firstLine) {
    return firstLine.starts_with("HTTP/");
}

bool validContentLength(std::string_view line) {
    const std::size_t first = line.find(' ') + 1;
    return first > 0 && first < line.size() &&
           std::isdigit(static_cast<unsigned char>(line[first]));
}

std::string headerName(std::string_view line) {
    line = withoutLineEnd(line);
    line = line.substr(0, line.find(' '));
    if (line.empty() || line.back() != ':') return {};
    std::string name(line);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

long long contentLength(std::string_view line) {
    if (headerName(line) != "CONTENT-LENGTH:") return 0;
    long long value = 0;
    // Nothing real is this long; the cap keeps a hostile number from overflowing.
    constexpr long long kCap = 1LL << 53;
    for (std::size_t i = line.find(' ') + 1;
         i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && value < kCap; ++i)
        value = value * 10 + (line[i] - '0');
    return std::min(value, kCap);
}

std::string headerValue(std::string_view line) {
    line = withoutLineEnd(line);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return {};
    line.remove_prefix(colon + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return std::string(line);
}

bool endsHeader(std::string_view line) {
    return line.empty() || line == "\n" || line == "\r\n";
}

}  // namespace rostrix
