// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ChunkedBody.h"

#include "platform/Error.h"

namespace rostrix {

namespace {

[[noreturn]] void malformed() {
    throw Error("The server's reply is cut into chunks in a way that cannot be read");
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ChunkedBody::takeLine(std::string_view& bytes) {
    const std::size_t lf = bytes.find('\n');
    const std::size_t take = lf == std::string_view::npos ? bytes.size() : lf;
    if (line_.size() + take > kMaxLine) malformed();
    line_.append(bytes.substr(0, take));
    bytes.remove_prefix(lf == std::string_view::npos ? take : lf + 1);
    if (lf == std::string_view::npos) return false;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    return true;
}

// "1a2b", maybe followed by blanks or ";extension".
void ChunkedBody::sizeLine() {
    std::size_t i = 0;
    unsigned long long size = 0;
    for (; i < line_.size() && hexValue(line_[i]) >= 0; ++i) {
        if (size > (1ULL << 52)) malformed();
        size = size * 16 + static_cast<unsigned>(hexValue(line_[i]));
    }
    if (i == 0) malformed();
    while (i < line_.size() && (line_[i] == ' ' || line_[i] == '\t')) ++i;
    if (i < line_.size() && line_[i] != ';') malformed();
    left_ = size;
    state_ = size == 0 ? State::Trailer : State::Data;
}

void ChunkedBody::feed(std::string_view bytes, std::string& out) {
    while (!bytes.empty() && state_ != State::Done) {
        switch (state_) {
            case State::Size:
                if (!takeLine(bytes)) return;
                sizeLine();
                line_.clear();
                break;
            case State::Data: {
                const std::size_t take =
                    static_cast<std::size_t>(std::min<unsigned long long>(left_, bytes.size()));
                out.append(bytes.substr(0, take));
                bytes.remove_prefix(take);
                left_ -= take;
                if (left_ == 0) state_ = State::DataEnd;
                break;
            }
            case State::DataEnd:
                if (!takeLine(bytes)) return;
                if (!line_.empty()) malformed();  // the chunk is longer than it said
                state_ = State::Size;
                break;
            case State::Trailer: {
                const std::size_t before = bytes.size();
                const bool whole = takeLine(bytes);
                trailer_ += before - bytes.size();
                if (trailer_ > kMaxTrailer) malformed();
                if (!whole) return;
                if (line_.empty()) state_ = State::Done;
                line_.clear();
                break;
            }
            case State::Done:
                break;
        }
    }
}

}  // namespace rostrix
