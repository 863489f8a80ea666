// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <unordered_set>

#include "format/PlayerArchiveKey.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"

namespace rostrix {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

struct NoCaseHash {
    std::size_t operator()(std::string_view s) const {
        std::size_t h = 1469598103934665603ull;
        for (const char c : s)
            h = (h ^ static_cast<unsigned char>(lowerAscii(c))) * 1099511628211ull;
        return h;
    }
};
struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const { return equalNoCase(a, b); }
};
using NameSet = std::unordered_set<std::string_view, NoCaseHash, NoCaseEqual>;

// The title entry's key as the reader gives it: without its "=" and padding.
bool isTitleKey(std::string_view key) {
    static const std::string_view title = [] {
        std::string_view k = seasonTitleKey();
        k.remove_suffix(1);
        return k.substr(0, k.find_last_not_of(' ') + 1);
    }();
    return equalNoCase(key, title);
}

// Keys already met in one section: a few compared in turn, many through a set, so a
// section of a million entries costs no more than a million sections.
class SeenKeys {
public:
    bool addNew(std::string_view key) {
        if (set_.empty()) {
            for (const auto k : few_)
                if (equalNoCase(k, key)) return false;
            few_.push_back(key);
            if (few_.size() > 16) set_.insert(few_.begin(), few_.end());
            return true;
        }
        return set_.insert(key).second;
    }
    void clear() {
        few_.clear();
        set_.clear();
    }

private:
    std::vector<std::string_view> few_;
    NameSet set_;
};

}  // namespace

CareerArchive::CareerArchive(std::string path) : path_(std::move(path)) {
    // Only a file that is not there at all is missing; a folder, a pipe, a device or a loop
    // of links under the name is named with its cause, as every other reader does.
    int why = 0;
    auto bytes = readFileBytes(path_, &why);
    if (!bytes) {
        if (why == ENOENT) return;
        status_ = Status::Unreadable;
        problem_ = fileFailureText("Cannot read %s", path_, why);
        return;
    }
    bytes_ = std::move(*bytes);
    status_ = Status::Read;
    if (bytes_.starts_with("\xEF\xBB\xBF")) bytes_.erase(0, 3);
    index();
}

// Section by section: what one section's entries add up to for the list.
struct CareerArchive::Scan {
    CareerArchive& archive;
    NameSet names;
    SeenKeys keys;
    std::string_view name;
    std::size_t begin = 0;
    bool open = false;  // inside a section that counts
    std::uint32_t seasons[2] = {0, 0};
    std::uint16_t first[2] = {0, 0};
    std::uint16_t last[2] = {0, 0};

    void start(std::string_view header, std::size_t bodyBegin) {
        ++archive.sections_;
        if (!names.insert(header).second) {
            ++archive.repeats_;
            open = false;
            return;
        }
        ++archive.names_;
        open = true;
        name = header;
        begin = bodyBegin;
        keys.clear();
        seasons[0] = seasons[1] = 0;
        first[0] = first[1] = last[0] = last[1] = 0;
    }

    void entry(std::string_view key, std::string_view value) {
        if (!keys.addNew(key)) {
            ++archive.repeats_;
            return;
        }
        if (isTitleKey(key)) return;
        const int r = roleOfValue(value) == CareerRole::Pitcher ? 1 : 0;
        ++seasons[r];
        const auto read = readSeasonKey(key);
        if (!read || read->year == 0) return;
        const auto year = static_cast<std::uint16_t>(read->year);
        if (first[r] == 0 || year < first[r]) first[r] = year;
        if (year > last[r]) last[r] = year;
    }

    void finish(std::size_t end) {
        if (!open) return;
        open = false;
        for (int r = 0; r < 2; ++r)
            if (seasons[r] > 0 || (r == 0 && seasons[1] == 0))
                archive.careers_.push_back(
                    CareerSummary{name, r == 1 ? CareerRole::Pitcher : CareerRole::Batter,
                                  seasons[r], first[r], last[r], begin, end});
    }
};

// Hands every entry line of [begin, end) to entry and every section header to header, as
// the archive's own reads see them.
template <class Header, class Entry>
static void scanLines(std::string_view text, std::size_t from, std::size_t to, Header&& header,
                      Entry&& entry) {
    profile::forEachLine(text, from, to,
                         [&](std::string_view line, std::size_t begin, std::size_t after) {
                             const profile::Line read = profile::readLine(line, true);
                             if (read.kind == profile::Line::Kind::Header)
                                 header(read.name, begin, after);
                             else if (read.kind == profile::Line::Kind::Entry)
                                 entry(read.key, read.value);
                         });
}

void CareerArchive::index() {
    const std::string_view text(bytes_);
    // The writer never puts a NUL into the archive; anything that holds one is no text file.
    nonText_ = std::memchr(text.data(), '\0', text.size()) != nullptr;
    Scan scan{*this, {}, {}, {}, 0, false, {0, 0}, {0, 0}, {0, 0}};
    scanLines(
        text, 0, text.size(),
        [&](std::string_view name, std::size_t headerBegin, std::size_t bodyBegin) {
            scan.finish(headerBegin);
            scan.start(name, bodyBegin);
        },
        [&](std::string_view key, std::string_view value) {
            if (scan.open) scan.entry(key, value);
        });
    scan.finish(text.size());
}

void CareerArchive::forEachEntry(
    std::size_t begin, std::size_t end,
    const std::function<void(std::string_view, std::string_view)>& visit) const {
    SeenKeys keys;
    scanLines(
        bytes_, begin, end, [](std::string_view, std::size_t, std::size_t) {},
        [&](std::string_view key, std::string_view value) {
            if (keys.addNew(key) && !isTitleKey(key)) visit(key, value);
        });
}

void CareerArchive::forEachValue(
    std::size_t career,
    const std::function<void(std::string_view, std::string_view)>& visit) const {
    const CareerSummary& c = careers_.at(career);
    forEachEntry(c.begin, c.end, [&](std::string_view key, std::string_view value) {
        if (roleOfValue(value) == c.role) visit(key, value);
    });
}

std::vector<SeasonEntry> CareerArchive::seasons(std::size_t career) const {
    std::vector<SeasonEntry> entries;
    forEachValue(career, [&](std::string_view key, std::string_view value) {
        entries.push_back(parseSeasonEntry(key, value));
    });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SeasonEntry& a, const SeasonEntry& b) {
                         const int ya = a.year == 0 ? std::numeric_limits<int>::max() : a.year;
                         const int yb = b.year == 0 ? std::numeric_limits<int>::max() : b.year;
                         return ya != yb ? ya < yb : a.team < b.team;
                     });
    return entries;
}

}  // namespace rostrix
