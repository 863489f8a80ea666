// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/SmtpReply.h"

#include <cctype>

#include "package/MailMessage.h"
#include "platform/AsciiText.h"
#include "platform/Error.h"

namespace rostrix {

namespace {

std::string upper(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The blank-separated words of a text.
std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        const std::size_t end = text.find_first_of(" \t", start);
        out.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        at = end == std::string_view::npos ? text.size() : end;
    }
    return out;
}

}  // namespace

ReplyLine replyLine(std::string_view line) {
    const std::string_view text = line.substr(0, line.find_first_of("\r\n"));
    const bool coded = text.size() >= 3 && isAsciiDigit(text[0]) && isAsciiDigit(text[1]) &&
                       isAsciiDigit(text[2]) &&
                       (text.size() == 3 || text[3] == ' ' || text[3] == '-');
    if (!coded)
        throw Error("The mail server's reply has no three-digit code: " + withoutLineEnd(line));
    // Replies are 2xx to 5xx; anything else is no answer to what was asked.
    if (text[0] < '2' || text[0] > '5')
        throw Error("The mail server's reply has an unknown code: " + withoutLineEnd(line));
    return {(text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0'),
            text.size() > 3 && text[3] == '-'};
}

Capabilities capabilities(const std::vector<std::string>& ehloLines) {
    Capabilities caps;
    for (std::size_t i = 1; i < ehloLines.size(); ++i) {
        const std::string_view line = ehloLines[i];
        std::vector<std::string> keywords = words(upper(line.size() > 4 ? line.substr(4) : ""));
        if (keywords.empty()) continue;
        std::string& first = keywords.front();
        if (first == "STARTTLS" && keywords.size() == 1) caps.startTls = true;
        if (first.starts_with("AUTH=")) {
            first.erase(0, 5);
        } else if (first == "AUTH") {
            keywords.erase(keywords.begin());
        } else {
            continue;
        }
        caps.auth = true;
        for (const std::string& mechanism : keywords) {
            if (mechanism == "PLAIN") caps.authPlain = true;
            if (mechanism == "LOGIN") caps.authLogin = true;
        }
    }
    return caps;
}

}  // namespace rostrix
