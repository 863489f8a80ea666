// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Error.h"

namespace rostrix {

std::string Error::withVisibleNul(const std::string& text) {
    if (text.find('\0') == std::string::npos) return text;
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\0')
            out += "\xE2\x90\x80";  // SYMBOL FOR NULL
        else
            out += c;
    }
    return out;
}

std::string formatText(const std::string& pattern, const std::string& arg) {
    std::string out = pattern;
    const auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

}  // namespace rostrix
