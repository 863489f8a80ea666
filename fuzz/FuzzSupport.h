// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace rostrix::fuzz {

// Bytes as a C literal would show them, cut short, for the message of a finding.
inline std::string shown(std::string_view bytes, std::size_t limit = 200) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += bytes.size() > limit ? "\"..." : "\"";
    return out;
}

// A property that does not hold is a finding: say which, then abort, so libFuzzer keeps
// the input that showed it.
[[noreturn]] inline void fail(const char* where, int line, const char* what,
                              const std::string& detail) {
    std::fprintf(stderr, "\n*** property broken at %s:%d: %s\n%s\n", where, line, what,
                 detail.c_str());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(cond, detail)                                                 \
    do {                                                                         \
        if (!(cond)) ::rostrix::fuzz::fail(__FILE__, __LINE__, #cond, (detail)); \
    } while (0)

// One scratch folder for the whole run: ROSTRIX_FUZZ_SCRATCH when set (tools/fuzz makes one
// in memory, since every save syncs its file, and removes it even after a finding), else a
// temporary folder removed at a normal exit.
inline const std::string& scratchFolder() {
    static QTemporaryDir dir;
    static const std::string path = std::getenv("ROSTRIX_FUZZ_SCRATCH")
                                        ? std::string(std::getenv("ROSTRIX_FUZZ_SCRATCH"))
                                        : QFile::encodeName(dir.path()).toStdString();
    return path;
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) fail(__FILE__, __LINE__, "scratch file", path);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        fail(__FILE__, __LINE__, "scratch write", path);
    std::fclose(f);
}

// Value of an INI entry as a reader sees what a writer stored: blanks and tabs trimmed
// from both ends, then one pair of surrounding quotes removed.
inline std::string readBack(std::string_view value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

inline std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

inline std::string_view trimSpaces(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Blanks the INI reader strips from a line's ends, which a name written with them at its
// ends would therefore lose on the way back.
inline bool isLineBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// A section name that reads back as itself: no line break, and no blank other than a
// space at its ends (the caller's spaces are trimmed on write and read alike).
inline bool sectionRoundTrips(std::string_view name) {
    name = trimSpaces(name);
    if (name.find_first_of("\r\n") != std::string_view::npos) return false;
    return name.empty() || (!isLineBlank(name.front()) && !isLineBlank(name.back()));
}

// A key whose line "key=value" is an entry line again when the file is read back.
inline bool keyRoundTrips(std::string_view key) {
    key = trimSpaces(key);
    if (key.empty() || key.find_first_of("\r\n") != std::string_view::npos) return false;
    return !isLineBlank(key.front()) && key.front() != '[' && key.front() != ';';
}

// A section name as the INI layer matches it: blanks gone from both ends, one letter case.
inline std::string seenSection(std::string_view name) {
    const auto first = name.find_first_not_of(" \t\v\f\r");
    if (first == std::string_view::npos) return {};
    return lowerAscii(name.substr(first, name.find_last_not_of(" \t\v\f\r") - first + 1));
}
inline bool sameSection(std::string_view a, std::string_view b) {
    return seenSection(a) == seenSection(b);
}

// A key as the INI layer matches it: trailing spaces and leading blanks gone, one case.
inline std::string seenKey(std::string_view key) {
    key = trimSpaces(key);
    const auto first = key.find_first_not_of(" \t\v\f\r");
    return first == std::string_view::npos ? std::string() : lowerAscii(key.substr(first));
}

// Two keys one of which starts with the other may match each other's lines ("a" finds
// "a=b=1"), so a write of one says nothing about the other.
inline bool keysOverlap(std::string_view a, std::string_view b) {
    const std::string x = seenKey(a);
    const std::string y = seenKey(b);
    return x.starts_with(y) || y.starts_with(x);
}

}  // namespace rostrix::fuzz
