// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rostrix {

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
    // write() then save(); throws Error("Unable to write to <path>") when the save fails.
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
