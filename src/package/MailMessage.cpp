// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/MailMessage.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/PathParts.h"

namespace rostrix {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kLineBytes = 45;  // input bytes per 60-character line
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Two base64 characters for every 12-bit value, so three bytes take two lookups.
const std::array<char, 2 * 4096>& pairTable() {
    static const std::array<char, 2 * 4096> table = [] {
        std::array<char, 2 * 4096> t{};
        for (int v = 0; v < 4096; ++v) {
            t[2 * v] = kAlphabet[v >> 6];
            t[2 * v + 1] = kAlphabet[v & 63];
        }
        return t;
    }();
    return table;
}

char* encodeGroups(char* out, const unsigned char* in, std::size_t groups) {
    const char* pairs = pairTable().data();
    for (std::size_t g = 0; g < groups; ++g, in += 3, out += 4) {
        const unsigned v = (unsigned{in[0]} << 16) | (unsigned{in[1]} << 8) | in[2];
        std::memcpy(out, pairs + 2 * (v >> 12), 2);
        std::memcpy(out + 2, pairs + 2 * (v & 0xfff), 2);
    }
    return out;
}

std::string oneLine(std::string_view value) {
    std::string s(value);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

std::string joined(const std::vector<std::string>& entries) {
    std::string s;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) s += ',';
        s += oneLine(entries[i]);
    }
    return s;
}

const char* contentTypeOf(TSubType subType) {
    switch (subType) {
        case mtEnriched:
            return "Content-Type: text/enriched; charset=";
        case mtSgml:
            return "Content-Type: text/sgml; charset=";
        case mtTabSeperated:
            return "Content-Type: text/tab-separated-values; charset=";
        case mtHtml:
            return "Content-Type: text/html; charset=";
        case mtPlain:
            break;
    }
    return "Content-Type: text/plain; charset=";
}

bool plainName(std::string_view name) {
    for (const char c : name)
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') return false;
    return true;
}

// True when the bytes are UTF-8 (as file names on this system normally are).
bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size() || (n == 2 && c < 0xc2)) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n;
    }
    return true;
}

// name="value" for a plain name; otherwise the encoded form mail readers decode, so a
// quote, a line break or a non-ASCII letter reaches the library intact.
std::string fileNameParameter(const char* parameter, std::string_view name) {
    if (plainName(name)) return std::string(parameter) + "=\"" + std::string(name) + "\"";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = std::string(parameter) + "*=" + (isUtf8(name) ? "utf-8''" : "iso-8859-1''");
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || std::strchr("!#$&+-.^_`|~", c) != nullptr) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace

std::string mailDate(std::time_t when) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm t{};
    localtime_r(&when, &t);
    const long offset = t.tm_gmtoff / 60;
    const long hours = std::labs(offset) / 60, minutes = std::labs(offset) % 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[t.tm_wday % 7], t.tm_mday, kMonths[t.tm_mon % 12], t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec, offset < 0 ? '-' : '+', hours, minutes);
    return text;
}

std::string makeMessageId(const std::string& host, const std::function<int(int n)>& letter) {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string id = "<";
    for (int i = 0; i < 24; ++i) id += kChars[letter(36)];
    return id + "@" + host + ">";
}

long long replyCode(std::string_view line) {
    long long code = 0;
    for (std::size_t i = 0; i < line.size() && i < 10; ++i) {
        if (line[i] < '0' || line[i] > '9') break;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

std::string withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return std::string(line);
}

std::string recipientAddress(std::string_view entry) {
    if (const auto open = entry.find('<'); open != std::string_view::npos) {
        const auto close = entry.find('>', open + 1);
        return std::string(entry.substr(
            open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
    }
    if (const auto colon = entry.find(':'); colon != std::string_view::npos) {
        const auto next = entry.find(':', colon + 1);
        return std::string(entry.substr(
            colon + 1, next == std::string_view::npos ? std::string_view::npos : next - colon - 1));
    }
    return std::string(entry);
}

std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + (text.compare(end, 2, kCrLf) == 0 ? 2 : 1));
    }
    return lines;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string makeBoundary(const std::function<int(int n)>& letter) {
    std::string b = std::string(20, '=') + "54535";
    for (int i = 0; i < 6; ++i) b += static_cast<char>('a' + letter(25));
    return b + "====";
}

std::vector<std::string> mailHeaderLines(const TMailMessage& m, TSubType subType,
                                         const std::string& charset, const std::string& boundary) {
    std::vector<std::string> lines;
    lines.push_back("From: " + oneLine(m.FromName) + "<" + oneLine(m.FromAddress) + ">");
    if (!m.ToAddress.empty()) lines.push_back("To: " + joined(m.ToAddress));
    if (!m.ToCarbonCopy.empty()) lines.push_back("CC: " + joined(m.ToCarbonCopy));
    const std::pair<const char*, const std::string*> optional[] = {{"Subject", &m.Subject},
                                                                   {"X-Mailer", &m.LocalProgram},
                                                                   {"Reply-To", &m.ReplyTo},
                                                                   {"Date", &m.Date},
                                                                   {"Message-ID", &m.MessageID}};
    for (const auto& [name, value] : optional)
        if (!value->empty()) lines.push_back(std::string(name) + ": " + oneLine(*value));
    lines.push_back("Mime-Version: 1.0");
    if (!boundary.empty())
        lines.push_back("Content-Type: multipart/mixed; boundary=\"" + boundary + "\"");
    else
        lines.push_back(contentTypeOf(subType) + oneLine(charset));
    return lines;
}

std::string headerBlock(const std::vector<std::string>& lines) {
    std::string block;
    for (const std::string& line : lines) block.append(line).append(kCrLf);
    return block.append(kCrLf).append(kCrLf);
}

void appendMessageLine(std::string& out, std::string_view line) {
    for (;;) {
        const auto end = line.find_first_of("\r\n");
        const std::string_view piece = line.substr(0, end);
        if (!piece.empty() && piece.front() == '.') out += '.';
        out.append(piece).append(kCrLf);
        if (end == std::string_view::npos) return;
        line.remove_prefix(end + (line.compare(end, 2, kCrLf) == 0 ? 2 : 1));
    }
}

std::size_t base64LinesSize(std::size_t size) {
    const std::size_t whole = size / kLineBytes, rest = size % kLineBytes;
    return whole * 62 + (rest == 0 ? 0 : (rest + 2) / 3 * 4 + 2);
}

void appendBase64Lines(std::string& out, std::string_view data) {
    const std::size_t start = out.size();
    out.resize(start + base64LinesSize(data.size()));
    char* p = out.data() + start;
    const auto* in = reinterpret_cast<const unsigned char*>(data.data());
    std::size_t left = data.size();
    for (; left >= kLineBytes; left -= kLineBytes, in += kLineBytes) {
        p = encodeGroups(p, in, kLineBytes / 3);
        *p++ = '\r';
        *p++ = '\n';
    }
    if (left == 0) return;
    p = encodeGroups(p, in, left / 3);
    in += left / 3 * 3;
    if (const std::size_t tail = left % 3; tail > 0) {
        const unsigned v = (unsigned{in[0]} << 16) | (tail == 2 ? unsigned{in[1]} << 8 : 0u);
        *p++ = kAlphabet[v >> 18];
        *p++ = kAlphabet[(v >> 12) & 63];
        *p++ = tail == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        *p++ = '=';
    }
    *p++ = '\r';
    *p = '\n';
}

std::string textPartHeader(const std::string& boundary, const std::string& charset) {
    return "--" + boundary + "\r\n" + contentTypeOf(mtPlain) + oneLine(charset) + "\r\n\r\n";
}

std::string attachmentPartHeader(const std::string& boundary, const std::string& path) {
    const std::string name = fileNamePart(path);
    return "--" + boundary + "\r\nContent-Type: application/octet-stream; " +
           fileNameParameter("name", name) +
           "\r\nContent-Transfer-Encoding: base64\r\n"
           "Content-Disposition: attachment; " +
           fileNameParameter("filename", name) + "\r\n\r\n";
}

std::string closingBoundary(const std::string& boundary) {
    return "--" + boundary + "--\r\n";
}

}  // namespace rostrix
