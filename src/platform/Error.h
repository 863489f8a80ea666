// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace rostrix {

// A failure that ends the current action. The text (UTF-8; file paths in it are the
// file system's own bytes) is what the user sees in the program-wide error box. A NUL
// byte in it is kept as the visible mark U+2400, so the text is never cut short.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(withVisibleNul(text)) {}

private:
    static std::string withVisibleNul(const std::string& text);
};

// "Unable to write to %s"-style texts: replaces the first %s of the pattern with arg.
std::string formatText(const std::string& pattern, const std::string& arg);

}  // namespace rostrix
