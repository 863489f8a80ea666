// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "net/SocketClient.h"

namespace rostrix::fuzz {

// A server's bytes read the way the socket layer reads them: a line runs up to and
// including its LF, at most 64 KiB long; at the end of the stream what is left (maybe "").
// A line too long leaves its error in `error` and gives nothing.
class ReplyLines {
public:
    explicit ReplyLines(std::string bytes) : bytes_(std::move(bytes)) {}

    std::optional<std::string> next() {
        const std::size_t lf = bytes_.find('\n', pos_);
        std::string line;
        if (lf != std::string::npos && lf - pos_ < TSocketClient::kMaxLine) {
            line = bytes_.substr(pos_, lf + 1 - pos_);
        } else if (bytes_.size() - pos_ >= TSocketClient::kMaxLine) {
            error = "Reply line longer than " + std::to_string(TSocketClient::kMaxLine) + " bytes";
            return std::nullopt;
        } else {
            line = bytes_.substr(pos_);
        }
        pos_ += line.size();
        return line;
    }
    std::string rest() const { return bytes_.substr(pos_); }

    std::optional<std::string> error;

private:
    std::string bytes_;
    std::size_t pos_ = 0;
};

// Inputs starting with "~" reach the 64 KiB line limit without 64 KiB inputs: the first
// line's text is repeated to 65530 to 65541 bytes (its length picks where in that range).
inline std::string widenedInput(const std::string& input) {
    if (!input.starts_with("~")) return input;
    const std::size_t lf = input.find('\n');
    const std::string text = input.substr(1, lf == std::string::npos ? std::string::npos : lf - 1);
    if (text.empty()) return input;
    const std::size_t length = 65530 + text.size() % 12;
    std::string out;
    out.reserve(length + input.size());
    while (out.size() < length) out += text;
    out.resize(length);
    if (lf != std::string::npos) out += input.substr(lf);
    return out;
}

}  // namespace rostrix::fuzz
