// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rostrix {

// A reply body sent in chunks: each chunk is its size in hexadecimal on a line of its own
// (anything after a ";" ignored), its bytes and a line end; a chunk of size 0 ends the
// body, after optional trailer lines and an empty line. Bytes are fed as they arrive, in
// pieces of any size. Anything else is an Error: a body we cannot read is never stored
// as if it were the file.
class ChunkedBody {
public:
    // Longest size or trailer line, and the most trailer bytes, taken.
    static constexpr std::size_t kMaxLine = 1024;
    static constexpr std::size_t kMaxTrailer = 65536;

    // Appends the body bytes found in bytes to out; bytes after the end are ignored.
    void feed(std::string_view bytes, std::string& out);
    bool finished() const { return state_ == State::Done; }

private:
    enum class State { Size, Data, DataEnd, Trailer, Done };
    // Collects a line up to its LF; true when it is whole (in line_, LF removed).
    bool takeLine(std::string_view& bytes);
    void sizeLine();

    State state_ = State::Size;
    std::string line_;
    unsigned long long left_ = 0;  // bytes of the current chunk still to come
    std::size_t trailer_ = 0;
};

}  // namespace rostrix
