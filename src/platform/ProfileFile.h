// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rostrix {

// How every read of a profile file sees a line. ProfileFile finds sections and entries this
// way, and a reader that walks a whole file (the Careers window's) uses the same pieces.
namespace profile {

// What a read trims from section names, keys and line ends.
inline constexpr std::string_view kLineBlanks = " \t\v\f\r";

struct Line {
    enum class Kind : std::uint8_t { Other, Header, Entry };
    Kind kind = Kind::Other;  // Other: a blank line, a comment, a line without "="
    std::string_view name;    // a header's section name
    std::string_view key;     // an entry's key, without the blanks around it
    std::string_view value;   // an entry's value as read() gives it
};

// One line, without its line end. keysEndInEquals: the entry's key holds the line's first
// "=" and the value follows a second one, blanks between (the player archive's keys end in
// "=" themselves, "2000 Oakland     ==08 ..."); key then leaves that "=" off.
Line readLine(std::string_view line, bool keysEndInEquals = false);

// A header line's section name: "[ name ]junk" gives "name".
std::string_view headerName(std::string_view header);
// A value as reads give it: blanks and tabs off both ends, then one pair of quotes.
std::string_view valueOf(std::string_view raw);

// Calls visit(line, lineBegin, nextLineBegin) for each line of text[from, to), split at
// CR LF, LF or a lone CR, as every read splits them.
template <class Visit>
void forEachLine(std::string_view text, std::size_t from, std::size_t to, Visit&& visit) {
    const char* const base = text.data();
    const char* const finish = base + to;
    const auto next = [finish](const char* at, char c) {
        const void* hit = std::memchr(at, c, static_cast<std::size_t>(finish - at));
        return hit ? static_cast<const char*>(hit) : finish;
    };
    // Where the next CR and the next LF are: each is looked for again only once passed.
    const char* cr = next(base + from, '\r');
    const char* lf = next(base + from, '\n');
    for (const char* p = base + from; p < finish;) {
        if (cr < p) cr = next(p, '\r');
        if (lf < p) lf = next(p, '\n');
        const char* stop = std::min(cr, lf);
        const bool crLf = stop == cr && lf != finish && stop + 1 == lf;
        const char* after = stop == finish ? finish : stop + (crLf ? 2 : 1);
        visit(std::string_view(p, static_cast<std::size_t>(stop - p)),
              static_cast<std::size_t>(p - base), static_cast<std::size_t>(after - base));
        p = after;
    }
}

}  // namespace profile

// One INI file ("profile file": settings, team archive, player archive), read once and
// written back whole. Reads and writes behave like the classic private-profile calls;
// writes stay in memory until save(), so an action's writes reach the disk together or
// not at all. Every byte the writes do not touch is written back as it was read.
class ProfileFile {
public:
    // Reads the file once; a missing or unreadable file reads as empty.
    explicit ProfileFile(std::string path);
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    const std::string& path() const { return path_; }
    // The value of key in section, or def (nullptr reads as "") when either is missing.
    std::string read(std::string_view section, std::string_view key, const char* def) const;
    // Sets key in section, in memory only; nothing reaches the disk before save(). A
    // section, key or value holding CR or LF is refused with an Error naming the file.
    void write(std::string_view section, std::string_view key, std::string_view value);
    // Replaces the file whole when anything changed since it was read or last saved. True
    // when saved or when nothing needed saving; false when the file could not be written,
    // and then the file on disk is exactly as it was.
    bool save();
    // Why the file could not be read or the last save failed, for fileFailureText.
    int error() const { return error_; }
    // write() then save(); throws Error("Unable to write to <path>: <reason>") when the
    // save fails.
    void writeNow(std::string_view section, std::string_view key, std::string_view value);

private:
    // One line: its text and its own line end ("" on a last line without one). Both views
    // point into the text read or into added_.
    struct Line {
        std::string_view text;
        std::string_view end;
    };
    // A section of the text read: where its header starts, its name and its body lines
    // [begin, end). Lines added to it go in after its last non-blank line (anchor()).
    struct Section {
        std::size_t header;
        std::string_view name;
        std::size_t begin;
        std::size_t end;
    };
    // A section, either of the text read (at: where its header starts) or created by
    // write() (at: its index into created_).
    struct Ref {
        bool created;
        std::size_t at;
    };
    // A section that write() created: its name and its lines, header first.
    struct Created {
        std::string_view name;
        std::vector<Line> lines;
    };
    // A line of the text read that write() changed.
    struct Replaced {
        Line line;
        std::size_t stop;  // offset just past the old line and its line end
    };
    // Where an entry is: at a byte offset of the text read, or among a section's added lines.
    struct Where {
        bool found = false;
        bool added = false;
        std::size_t at = 0;         // the offset, or the index into the added lines
        std::size_t stop = 0;       // offset just past the line as read
        std::size_t separator = 0;  // of the '=' in line.text
        Line line;                  // the line as it stands now
    };

    void index();
    Section sectionAt(std::size_t header) const;
    Line lineAt(std::size_t pos, std::size_t limit) const;
    std::size_t anchor(const Section& section) const;
    std::optional<Ref> findSection(std::string_view name) const;
    // The lines write() added to a section (for a created one, its header first).
    const std::vector<Line>* addedTo(Ref ref) const;
    // A write also finds the lines it wrote for keys that read back as a comment or header.
    Where findEntry(Ref ref, std::string_view key, bool forWrite) const;
    std::string_view keep(std::string text);
    std::vector<std::string_view> serialise() const;

    std::string path_;
    std::string text_;       // the bytes read, a leading byte-order mark included
    std::size_t start_ = 0;  // where the text after a byte-order mark begins
    bool unread_ = false;    // something is there that could not be read: never replace it
    bool dirty_ = false;
    int error_ = 0;
    // Every section of the text read as its name's hash (upper 24 bits) and where its header
    // starts (lower 40 bits), sorted: the sections of one hash in file order. Nothing else
    // is kept per section; a section is read from its header when a call needs it.
    std::vector<std::uint64_t> byHash_;
    std::vector<Created> created_;
    std::unordered_multimap<std::uint32_t, std::size_t> createdByHash_;
    // Lines added to sections of the text read, by where their header starts.
    std::map<std::size_t, std::vector<Line>> grown_;
    std::map<std::size_t, Replaced> replaced_;  // by the offset of the line as read
    std::deque<std::string> added_;             // stable storage for written text
};

}  // namespace rostrix
