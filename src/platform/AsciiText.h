// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string_view>

namespace rostrix {

// The ASCII letters and digits of fixed-column files and protocol lines, told apart byte by
// byte and the same in every locale (a Latin-1 letter is none of them).

inline constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

inline constexpr bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool allAsciiDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), isAsciiDigit);
}

// s without the blanks before and after it; blanks are the space alone unless named.
inline std::string_view trimmedOf(std::string_view s, std::string_view blanks = " ") {
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

}  // namespace rostrix
