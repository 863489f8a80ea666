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
constexpr std::string_view kLineBlanks = " \t\v\f\r";

bool isLineBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
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

std::string_view trim(std::string_view s, std::string_view blanks) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string_view trimSpaces(std::string_view s) {
    return trim(s, " ");
}

// The name in a section header "[name]junk".
std::string_view headerName(std::string_view header) {
    const std::string_view line = trim(header, kLineBlanks);
    const auto close = line.rfind(']');
    return trim(line.substr(1, close == line.npos ? line.npos : close - 1), kLineBlanks);
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
    return trim(name, kLineBlanks);
}

std::string_view keyMatch(std::string_view key) {
    const auto first = key.find_first_not_of(kLineBlanks);
    return first == key.npos ? std::string_view() : key.substr(first);
}

bool startsWithBracket(std::string_view text) {
    const auto p = text.find_first_not_of(kLineBlanks);
    return p != text.npos && text[p] == '[';
}

std::string readValue(std::string_view raw) {
    std::string_view v = trim(raw, " \t");
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
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

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
    std::error_code ec;
    const auto status = std::filesystem::status(path_, ec);
    if (!std::filesystem::exists(status)) return;
    // Only a plain file is read; a device, pipe or folder is never taken for an empty file,
    // so nothing that was there is replaced by a save.
    auto bytes = readFileBytes(path_, &error_);
    if (!bytes) {
        unread_ = true;
        return;
    }
    text_ = std::move(*bytes);
    if (text_.starts_with(kBom)) {
        bom_ = true;
        text_.erase(0, kBom.size());
    }
    parse();
}

void ProfileFile::parse() {
    const char* const begin = text_.data();
    const char* const finish = begin + text_.size();
    // The next c from `from` on. The next CR and the next LF are each looked for once per
    // occurrence, so splitting stays linear however the lines end.
    const auto next = [finish](const char* from, char c) {
        const void* hit = std::memchr(from, c, static_cast<std::size_t>(finish - from));
        return hit ? static_cast<const char*>(hit) : finish;
    };
    // Every header holds a '[': sizing for them all saves growing the index as it fills.
    std::size_t brackets = 0;
    for (const char* p = begin; (p = next(p, '[')) < finish; ++p) ++brackets;
    sections_.reserve(brackets);
    growIndex(2 * brackets);
    const char* cr = next(begin, '\r');
    const char* lf = next(begin, '\n');
    for (const char* p = begin; p < finish;) {
        if (cr < p) cr = next(p, '\r');
        if (lf < p) lf = next(p, '\n');
        const char* stop = std::min(cr, lf);
        // A CR is one line end with the LF right after it; a CR that is the last byte is a
        // line end of its own (lf stands at finish then, one past it).
        const bool crLf = stop == cr && stop + 1 == lf && lf < finish;
        const char* after = stop == finish ? finish : stop + (crLf ? 2 : 1);
        const std::size_t offset = static_cast<std::size_t>(after - begin);
        const char* first = p;
        while (first < stop && isLineBlank(*first)) ++first;
        if (first < stop && *first == '[') {
            const std::string_view header(p, static_cast<std::size_t>(stop - p));
            addSection(Section{headerName(header), offset, offset, offset, {}});
        } else if (!sections_.empty()) {
            sections_.back().end = offset;
            if (first < stop) sections_.back().anchor = offset;
        }
        p = after;
    }
}

// The line of the text read that starts at pos; limit is the end of its section.
ProfileFile::Line ProfileFile::lineAt(std::size_t pos, std::size_t limit) const {
    limit = std::min(limit, text_.size());
    pos = std::min(pos, limit);
    std::size_t stop = pos;
    while (stop < limit && text_[stop] != '\r' && text_[stop] != '\n') ++stop;
    std::size_t endLength = 0;
    if (stop < limit)
        endLength = (text_[stop] == '\r' && stop + 1 < limit && text_[stop + 1] == '\n') ? 2 : 1;
    const std::string_view all(text_);
    return Line{all.substr(pos, stop - pos), all.substr(stop, endLength)};
}

void ProfileFile::addSection(Section section) {
    if (2 * (named_ + 1) > slots_.size()) growIndex(2 * (named_ + 1));
    const std::uint32_t hash = nameHash(section.name);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint64_t entry = slots_[slot];
        if ((entry >> 32) == hash &&
            equalNoCase(sections_[(entry & 0xFFFFFFFFu) - 1].name, section.name))
            break;  // only the first section of a name counts
    }
    sections_.push_back(std::move(section));
    if (slots_[slot] != 0) return;
    slots_[slot] = (std::uint64_t{hash} << 32) | sections_.size();
    ++named_;
}

void ProfileFile::growIndex(std::size_t minimum) {
    std::size_t size = std::max<std::size_t>(64, 2 * slots_.size());
    while (size < minimum) size *= 2;
    std::vector<std::uint64_t> old = std::exchange(slots_, std::vector<std::uint64_t>(size, 0));
    for (const std::uint64_t entry : old) {
        if (entry == 0) continue;
        std::size_t slot = (entry >> 32) & (size - 1);
        while (slots_[slot] != 0) slot = (slot + 1) & (size - 1);
        slots_[slot] = entry;
    }
}

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const {
    if (slots_.empty()) return nullptr;
    name = sectionMatch(name);
    const std::uint32_t hash = nameHash(name);
    for (std::size_t slot = hash & (slots_.size() - 1); slots_[slot] != 0;
         slot = (slot + 1) & (slots_.size() - 1)) {
        const std::uint64_t entry = slots_[slot];
        if ((entry >> 32) != hash) continue;
        const Section& s = sections_[(entry & 0xFFFFFFFFu) - 1];
        if (equalNoCase(s.name, name)) return &s;
    }
    return nullptr;
}

ProfileFile::Where ProfileFile::findEntry(const Section& section, std::string_view key,
                                          bool forWrite) const {
    key = keyMatch(key);
    // A line an earlier write replaced is matched as it stands now, not as it was read.
    const auto lineNow = [this](std::size_t pos, std::size_t limit) {
        Line line = lineAt(pos, limit);
        const std::size_t stop = pos + line.text.size() + line.end.size();
        if (const auto replaced = replaced_.find(pos); replaced != replaced_.end())
            line = replaced->second.line;
        return std::pair{line, stop};
    };
    if (section.begin != kNew) {
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
            for (std::size_t i = static_cast<std::size_t>(&section - sections_.data()) + 1;
                 i < sections_.size() && sections_[i].begin != kNew; ++i) {
                const std::size_t pos = sections_[i - 1].end;
                const auto [line, stop] = lineNow(pos, sections_[i].begin);
                const auto sep = separatorFor(line.text, key, forWrite);
                if (sep != std::string_view::npos) return Where{true, false, pos, stop, sep, line};
                if (sections_[i].anchor != sections_[i].begin ||
                    line.text.find('=') == std::string_view::npos)
                    break;
            }
        }
    }
    // A new section's header is among its added lines; it never matches a key.
    for (std::size_t i = section.begin == kNew ? 1 : 0; i < section.added.size(); ++i) {
        const auto sep = separatorFor(section.added[i].text, key, forWrite);
        if (sep != std::string_view::npos) return Where{true, true, i, 0, sep, section.added[i]};
    }
    return {};
}

std::string ProfileFile::read(std::string_view section, std::string_view key,
                              const char* def) const {
    const Section* s = findSection(trimSpaces(section));
    if (s == nullptr) return defaultValue(def);
    const Where found = findEntry(*s, trimSpaces(key), false);
    if (!found.found) return defaultValue(def);
    return readValue(found.line.text.substr(found.separator + 1));
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

    const Section* existing = findSection(name);
    if (existing == nullptr) {
        std::string text;
        text.reserve(name.size() + 2);
        const std::string_view header = keep(std::move(text.append("[").append(name).append("]")));
        addSection(Section{sectionMatch(header.substr(1, name.size())),
                           kNew,
                           kNew,
                           kNew,
                           {{header, kCrLf}, {keep(std::move(entry)), kCrLf}}});
        dirty_ = true;
        return;
    }
    Section& s = sections_[static_cast<std::size_t>(existing - sections_.data())];
    const Where found = findEntry(s, k, true);
    if (!found.found) {
        // A new key goes in before the lines that read back as headers ('[' keys), as it
        // goes in before them once the file has been read again.
        const auto at = std::find_if(s.added.begin() + (s.begin == kNew ? 1 : 0), s.added.end(),
                                     [](const Line& line) { return startsWithBracket(line.text); });
        s.added.insert(at, Line{keep(std::move(entry)), kCrLf});
        dirty_ = true;
        return;
    }
    const Line old = found.line;
    if (old.text.substr(found.separator + 1) == value) return;
    // The line keeps its own spelling of the key and its own line end.
    const Line line{keep(std::string(old.text.substr(0, found.separator + 1)).append(value)),
                    old.end.empty() ? kCrLf : old.end};
    if (found.added)
        s.added[found.at] = line;
    else
        replaced_[found.at] = Replaced{line, found.stop};
    dirty_ = true;
}

// Copies the bytes read in long runs and puts the changed and added lines between them.
std::string ProfileFile::serialise() const {
    std::string out;
    out.reserve(kBom.size() + text_.size() + 64 * added_.size());
    if (bom_) out += kBom;
    const std::size_t start = out.size();
    std::size_t copied = 0;  // bytes of text_ already in out
    const auto copyTo = [&](std::size_t to) {
        if (to > copied) out.append(text_, copied, to - copied);
        copied = std::max(copied, to);
    };
    const auto put = [&](const Line& line) {
        // Only a last line can lack its line end; it gets one once anything follows it.
        if (out.size() > start && out.back() != '\n' && out.back() != '\r') out += kCrLf;
        out += line.text;
        out += line.end;
    };
    auto replacement = replaced_.begin();
    const auto replaceBefore = [&](std::size_t offset) {
        for (; replacement != replaced_.end() && replacement->first < offset; ++replacement) {
            copyTo(replacement->first);
            put(replacement->second.line);
            copied = replacement->second.stop;
        }
    };
    for (const Section& s : sections_) {
        if (s.begin == kNew || s.added.empty()) continue;
        replaceBefore(s.anchor);
        copyTo(s.anchor);
        for (const Line& line : s.added) put(line);
    }
    replaceBefore(kNew);
    copyTo(text_.size());
    for (const Section& s : sections_) {
        if (s.begin != kNew) continue;
        for (const Line& line : s.added) put(line);
    }
    return out;
}

bool ProfileFile::save() {
    if (!dirty_) return true;
    if (unread_ || !writeFileAtomic(path_, serialise(), &error_)) return false;
    dirty_ = false;
    return true;
}

void ProfileFile::writeNow(std::string_view section, std::string_view key, std::string_view value) {
    write(section, key, value);
    if (!save()) throw Error(fileFailureText("Unable to write to %s", path_, error_));
}

}  // namespace rostrix
