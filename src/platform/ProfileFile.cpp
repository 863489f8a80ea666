// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/Error.h"
#include "platform/LineFile.h"

namespace rostrix {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
using profile::kLineBlanks;

// The blanks a line may hold (a CR always ends its line).
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// The length of the line end at pos: 2 for CR LF, 1 for a lone CR or LF, 0 at the end.
std::size_t lineEndLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    return (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

template <class Blank>
std::string_view trim(std::string_view s, Blank blank) {
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && blank(s[first])) ++first;
    while (last > first && blank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

constexpr auto isLineBlank = [](char c) { return isBlank(c) || c == '\r'; };

// The first CR or LF at or after pos, or the end: eight bytes at a time while none is among
// them (a byte b is CR or LF when b ^ CR or b ^ LF is zero).
std::size_t lineEnd(std::string_view text, std::size_t pos) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    const auto hasZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, text.data() + pos, 8);
        if (hasZero(chunk ^ ('\r' * kOnes)) || hasZero(chunk ^ ('\n' * kOnes))) break;
    }
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
    return pos;
}

std::string_view trimSpaces(std::string_view s) {
    return trim(s, [](char c) { return c == ' '; });
}

// The position of the '=' that ends key in an entry line, or npos. The key may itself end
// in '=' (the player archive's keys do), so the line is matched by its start rather than
// split at its first '='. A comment or header line is no entry to a read; a write whose
// key begins with ';' or '[' wrote such a line itself and finds it again (`ownLines`).
std::size_t separatorFor(std::string_view text, std::string_view key, bool ownLines) {
    const auto p = text.find_first_not_of(kLineBlanks);
    if (p == std::string_view::npos) return text.npos;
    if ((text[p] == ';' || text[p] == '[') && !(ownLines && !key.empty() && key.front() == text[p]))
        return text.npos;
    if (text.size() - p < key.size() || !equalNoCase(text.substr(p, key.size()), key))
        return text.npos;
    const auto q = text.find_first_not_of(kLineBlanks, p + key.size());
    return (q != text.npos && text[q] == '=') ? q : text.npos;
}

// Names and keys as a read of the file sees them: a header's name loses the blanks around
// it and an entry line its leading blanks, so a name or key written with a tab, vertical
// tab or form feed at its ends is looked for without them and found again.
std::string_view sectionMatch(std::string_view name) {
    return trim(name, isLineBlank);
}

std::string_view keyMatch(std::string_view key) {
    const auto first = key.find_first_not_of(kLineBlanks);
    return first == key.npos ? std::string_view() : key.substr(first);
}

bool startsWithBracket(std::string_view text) {
    const auto p = text.find_first_not_of(kLineBlanks);
    return p != text.npos && text[p] == '[';
}

std::string defaultValue(const char* def) {
    if (def == nullptr) return {};
    std::string_view d(def);
    const auto last = d.find_last_not_of(' ');
    return std::string(last == d.npos ? std::string_view() : d.substr(0, last + 1));
}

// Folding every byte with 0x20 maps both cases of a letter to one value (other bytes may
// collide, which only costs a comparison), so eight bytes can be hashed at a time.
std::uint32_t nameHash(std::string_view s) {
    constexpr std::uint64_t kFold = 0x2020202020202020ull;
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = s.size() * kMul;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, s.data() + i, 8);
        h = (h ^ (chunk | kFold)) * kMul;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    for (; i < s.size(); ++i) tail = (tail << 8) | (static_cast<unsigned char>(s[i]) | 0x20u);
    h = (h ^ tail) * kMul;
    return static_cast<std::uint32_t>(h >> 32);
}

// Offsets into the index fit in 40 bits; a name's hash keeps its upper 24 bits there.
constexpr unsigned kOffsetBits = 40;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;

std::uint64_t hashKey(std::uint32_t hash) {
    return std::uint64_t{hash >> 8} << kOffsetBits;
}

// A header line: where it starts, where its line end is and where the next line starts.
struct Header {
    std::size_t start;
    std::size_t stop;
    std::size_t after;
};

// The first header line of all that starts at or after pos (a line start or just past a
// '[' that began no header); start is npos when there is none. first is where the text
// begins after a byte-order mark. Only header lines matter to the layout: a header is a
// line whose first byte that is not a blank is '['. The brackets are looked for with memchr
// and only they are looked at more closely, so finding the headers costs little more than
// one pass over the bytes.
Header nextHeader(std::string_view all, std::size_t first, std::size_t pos) {
    const std::size_t size = all.size();
    while (pos < size) {
        const void* hit = std::memchr(all.data() + pos, '[', size - pos);
        if (hit == nullptr) break;
        const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - all.data());
        std::size_t start = bracket;
        while (start > first && isBlank(all[start - 1])) --start;
        if (start > first && all[start - 1] != '\r' && all[start - 1] != '\n') {
            pos = bracket + 1;
            continue;
        }
        const std::size_t stop = lineEnd(all, bracket);
        return Header{start, stop, stop + lineEndLength(all, stop)};
    }
    return Header{std::string_view::npos, size, size};
}

}  // namespace

namespace profile {

std::string_view headerName(std::string_view header) {
    const std::string_view line = trim(header, isLineBlank);
    const auto close = line.rfind(']');
    return trim(line.substr(1, close == line.npos ? line.npos : close - 1), isLineBlank);
}

std::string_view valueOf(std::string_view raw) {
    std::string_view v = trim(raw, [](char c) { return c == ' ' || c == '\t'; });
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

Line readLine(std::string_view line, bool keysEndInEquals) {
    const auto first = line.find_first_not_of(kLineBlanks);
    if (first == std::string_view::npos || line[first] == ';') return {};
    if (line[first] == '[') return {Line::Kind::Header, headerName(line), {}, {}};
    const auto eq = line.find('=', first);
    if (eq == std::string_view::npos) return {};
    std::size_t valueAt = eq + 1;
    if (keysEndInEquals) {
        while (valueAt < line.size() && (line[valueAt] == ' ' || line[valueAt] == '\t')) ++valueAt;
        if (valueAt < line.size() && line[valueAt] == '=') ++valueAt;
    }
    return {Line::Kind::Entry,
            {},
            trim(line.substr(first, eq - first), isLineBlank),
            valueOf(line.substr(valueAt))};
}

}  // namespace profile

using profile::headerName;

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
    std::error_code ec;
    const auto status = std::filesystem::status(path_, ec);
    if (!std::filesystem::exists(status)) return;
    // Only a plain file is read; a device, pipe or folder is never taken for an empty file,
    // so nothing that was there is replaced by a save.
    // Room for the index of a file of short sections, so that it seldom moves as it grows;
    // what it does not use is never touched.
    if (const auto size = std::filesystem::file_size(path_, ec); !ec && size <= kOffsetMask)
        byHash_.reserve(static_cast<std::size_t>(size / 32));
    std::size_t scanned = 0;
    bool begun = false;
    // Headers are found block by block as the file is read, while its bytes are in the
    // cache; until the file is complete, a header line whose end is not in yet waits.
    const auto scan = [&](std::string_view all, bool complete) {
        if (!begun) {
            if (!complete && all.size() < kBom.size()) return;
            begun = true;
            start_ = scanned = all.starts_with(kBom) ? kBom.size() : 0;
        }
        for (;;) {
            const Header h = nextHeader(all, start_, scanned);
            if (h.start == std::string_view::npos) {
                scanned = all.size();
                return;
            }
            if (!complete &&
                (h.stop == all.size() || (all[h.stop] == '\r' && h.after == all.size()))) {
                scanned = h.start;
                return;
            }
            const std::uint32_t hash = nameHash(headerName(all.substr(h.start, h.stop - h.start)));
            byHash_.push_back(hashKey(hash) | (h.start & kOffsetMask));
            scanned = h.after;
        }
    };
    auto bytes = readFileBytes(
        path_, [&](std::string_view soFar) { scan(soFar, false); }, &error_);
    // Beyond what the index can place (a terabyte) counts as unreadable: kept, never replaced.
    if (!bytes || bytes->size() > kOffsetMask) {
        byHash_.clear();
        unread_ = true;
        return;
    }
    text_ = std::move(*bytes);
    scan(text_, true);
    index();
}

// A section's body runs from the line after its header to the line of the next header.
ProfileFile::Section ProfileFile::sectionAt(std::size_t header) const {
    const std::string_view all(text_);
    const Header h = nextHeader(all, start_, header);
    const Header next = nextHeader(all, start_, h.after);
    return Section{header, headerName(all.substr(h.start, h.stop - h.start)), h.after,
                   next.start == std::string_view::npos ? all.size() : next.start};
}

// The headers' keys sorted with a stable radix sort, twelve bits at a time: a few passes
// straight through memory instead of a probe at a random place for every section.
void ProfileFile::index() {
    constexpr unsigned kBits = 12;
    constexpr std::uint64_t kMask = (1u << kBits) - 1;
    std::vector<std::uint64_t> spare(byHash_.size());
    std::vector<std::size_t> count(kMask + 1);
    for (unsigned shift = kOffsetBits; shift < 64; shift += kBits) {
        std::fill(count.begin(), count.end(), 0);
        for (const std::uint64_t key : byHash_) ++count[(key >> shift) & kMask];
        std::size_t sum = 0;
        for (std::size_t& c : count) sum += std::exchange(c, sum);
        for (const std::uint64_t key : byHash_) spare[count[(key >> shift) & kMask]++] = key;
        byHash_.swap(spare);
    }
}

// The line of the text read that starts at pos; limit is the end of its section.
ProfileFile::Line ProfileFile::lineAt(std::size_t pos, std::size_t limit) const {
    limit = std::min(limit, text_.size());
    pos = std::min(pos, limit);
    std::size_t stop = pos;
    while (stop < limit && text_[stop] != '\r' && text_[stop] != '\n') ++stop;
    const std::string_view all(text_);
    return Line{all.substr(pos, stop - pos),
                all.substr(stop, stop < limit ? lineEndLength(all.substr(0, limit), stop) : 0)};
}

// Just past the last line of a section that is not blank, or its first line when all are.
std::size_t ProfileFile::anchor(const Section& section) const {
    const std::string_view all(text_);
    std::size_t last = section.end;
    while (last > section.begin &&
           (isBlank(all[last - 1]) || all[last - 1] == '\r' || all[last - 1] == '\n'))
        --last;
    if (last == section.begin) return section.begin;
    std::size_t stop = last;
    while (stop < section.end && all[stop] != '\r' && all[stop] != '\n') ++stop;
    return stop + lineEndLength(all, stop);
}

std::optional<ProfileFile::Ref> ProfileFile::findSection(std::string_view name) const {
    name = sectionMatch(name);
    const std::uint32_t hash = nameHash(name);
    const std::string_view all(text_);
    for (auto it = std::lower_bound(byHash_.begin(), byHash_.end(), hashKey(hash));
         it != byHash_.end() && (*it & ~kOffsetMask) == hashKey(hash); ++it) {
        const Header h = nextHeader(all, start_, *it & kOffsetMask);
        if (equalNoCase(headerName(all.substr(h.start, h.stop - h.start)), name))
            return Ref{false, h.start};
    }
    const auto [first, last] = createdByHash_.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (equalNoCase(created_[it->second].name, name)) return Ref{true, it->second};
    return std::nullopt;
}

const std::vector<ProfileFile::Line>* ProfileFile::addedTo(Ref ref) const {
    if (ref.created) return &created_[ref.at].lines;
    const auto grown = grown_.find(ref.at);
    return grown == grown_.end() ? nullptr : &grown->second;
}

ProfileFile::Where ProfileFile::findEntry(Ref ref, std::string_view key, bool forWrite) const {
    key = keyMatch(key);
    // A line an earlier write replaced is matched as it stands now, not as it was read.
    const auto lineNow = [this](std::size_t pos, std::size_t limit) {
        Line line = lineAt(pos, limit);
        const std::size_t stop = pos + line.text.size() + line.end.size();
        if (const auto replaced = replaced_.find(pos); replaced != replaced_.end())
            line = replaced->second.line;
        return std::pair{line, stop};
    };
    if (!ref.created) {
        const Section section = sectionAt(ref.at);
        for (std::size_t pos = section.begin; pos < section.end;) {
            const auto [line, stop] = lineNow(pos, section.end);
            const auto sep = separatorFor(line.text, key, forWrite);
            if (sep != std::string_view::npos) return Where{true, false, pos, stop, sep, line};
            pos = stop;
        }
        // An entry whose key begins with '[' reads back as a header of its own, with
        // nothing under it, right after the section it was written to (new keys go in
        // before such lines): those lines are the section's entries too.
        if (forWrite && !key.empty() && key.front() == '[') {
            for (std::size_t pos = section.end; pos < text_.size();) {
                const Section next = sectionAt(pos);
                const auto [line, stop] = lineNow(pos, next.begin);
                const auto sep = separatorFor(line.text, key, forWrite);
                if (sep != std::string_view::npos) return Where{true, false, pos, stop, sep, line};
                if (anchor(next) != next.begin || line.text.find('=') == std::string_view::npos)
                    break;
                pos = next.end;
            }
        }
    }
    // A created section's header is among its added lines; it never matches a key.
    if (const std::vector<Line>* added = addedTo(ref)) {
        for (std::size_t i = ref.created ? 1 : 0; i < added->size(); ++i) {
            const auto sep = separatorFor((*added)[i].text, key, forWrite);
            if (sep != std::string_view::npos) return Where{true, true, i, 0, sep, (*added)[i]};
        }
    }
    return {};
}

std::string ProfileFile::read(std::string_view section, std::string_view key,
                              const char* def) const {
    const auto s = findSection(trimSpaces(section));
    if (!s) return defaultValue(def);
    const Where found = findEntry(*s, trimSpaces(key), false);
    if (!found.found) return defaultValue(def);
    return std::string(profile::valueOf(found.line.text.substr(found.separator + 1)));
}

std::string_view ProfileFile::keep(std::string text) {
    return added_.emplace_back(std::move(text));
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    // A line break would split the entry's line and change what the file holds.
    for (const std::string_view part : {section, key, value})
        if (part.find_first_of("\r\n") != std::string_view::npos)
            throw Error(formatText("Unable to write to %s", path_) +
                        ": a section name, key or value holds a line break");
    const std::string_view name = trimSpaces(section);
    const std::string_view k = trimSpaces(key);
    std::string entry;
    entry.reserve(k.size() + 1 + value.size());
    entry.append(k).append("=").append(value);

    const auto existing = findSection(name);
    if (!existing) {
        std::string text;
        text.reserve(name.size() + 2);
        const std::string_view header = keep(std::move(text.append("[").append(name).append("]")));
        const std::string_view match = sectionMatch(header.substr(1, name.size()));
        created_.push_back(Created{match, {{header, kCrLf}, {keep(std::move(entry)), kCrLf}}});
        createdByHash_.emplace(nameHash(match), created_.size() - 1);
        dirty_ = true;
        return;
    }
    const Ref ref = *existing;
    const Where found = findEntry(ref, k, true);
    const auto addedLines = [&]() -> std::vector<Line>& {
        return ref.created ? created_[ref.at].lines : grown_[ref.at];
    };
    if (!found.found) {
        std::vector<Line>& added = addedLines();
        // A new key goes in before the lines that read back as headers ('[' keys), as it
        // goes in before them once the file has been read again.
        const auto at = std::find_if(added.begin() + (ref.created ? 1 : 0), added.end(),
                                     [](const Line& line) { return startsWithBracket(line.text); });
        added.insert(at, Line{keep(std::move(entry)), kCrLf});
        dirty_ = true;
        return;
    }
    const Line old = found.line;
    if (old.text.substr(found.separator + 1) == value) return;
    // The line keeps its own spelling of the key and its own line end.
    const Line line{keep(std::string(old.text.substr(0, found.separator + 1)).append(value)),
                    old.end.empty() ? kCrLf : old.end};
    if (found.added)
        addedLines()[found.at] = line;
    else
        replaced_[found.at] = Replaced{line, found.stop};
    dirty_ = true;
}

// The bytes read in long runs with the changed and added lines between them, as pieces
// that go to the disk as they stand: the file is never copied whole in memory.
std::vector<std::string_view> ProfileFile::serialise() const {
    const std::string_view all(text_);
    std::vector<std::string_view> out;
    out.reserve(4 * (replaced_.size() + added_.size()) + 4);
    // Whether anything follows the byte-order mark, and the last byte put out.
    bool any = false;
    char last = '\0';
    const auto emit = [&](std::string_view piece) {
        if (piece.empty()) return;
        out.push_back(piece);
        any = true;
        last = piece.back();
    };
    if (start_ > 0) out.push_back(all.substr(0, start_));
    std::size_t copied = start_;  // bytes of the text read already put out
    const auto copyTo = [&](std::size_t to) {
        if (to > copied) emit(all.substr(copied, to - copied));
        copied = std::max(copied, to);
    };
    const auto put = [&](const Line& line) {
        // Only a last line can lack its line end; it gets one once anything follows it.
        if (any && last != '\n' && last != '\r') emit(kCrLf);
        emit(line.text);
        emit(line.end);
    };
    auto replacement = replaced_.begin();
    const auto replaceBefore = [&](std::size_t offset) {
        for (; replacement != replaced_.end() && replacement->first < offset; ++replacement) {
            copyTo(replacement->first);
            put(replacement->second.line);
            copied = replacement->second.stop;
        }
    };
    for (const auto& [header, lines] : grown_) {
        const std::size_t at = anchor(sectionAt(header));
        replaceBefore(at);
        copyTo(at);
        for (const Line& line : lines) put(line);
    }
    replaceBefore(all.size() + 1);
    copyTo(all.size());
    for (const Created& created : created_)
        for (const Line& line : created.lines) put(line);
    return out;
}

bool ProfileFile::save() {
    if (!dirty_) return true;
    if (unread_ || !writePiecesAtomic(path_, serialise(), &error_)) return false;
    dirty_ = false;
    return true;
}

void ProfileFile::writeNow(std::string_view section, std::string_view key, std::string_view value) {
    write(section, key, value);
    if (!save()) throw Error(fileFailureText("Unable to write to %s", path_, error_));
}

}  // namespace rostrix
