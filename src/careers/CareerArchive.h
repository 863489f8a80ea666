// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "careers/CareerColumns.h"
#include "careers/CareerEntry.h"

namespace rostrix {

// One career of the list: the seasons of one kind filed under one name. A name with batter
// and pitcher seasons has two careers; a name with no season entry has one, with none.
struct CareerSummary {
    std::string_view name;  // the section's name, as the file spells it
    CareerRole role = CareerRole::Batter;
    std::uint32_t seasons = 0;
    std::uint16_t firstYear = 0;  // 0 when no entry's key holds a year
    std::uint16_t lastYear = 0;
    std::size_t begin = 0;  // the section's lines: byte offsets into the file
    std::size_t end = 0;
};

// player.dat read back the way the program's own archive reads find entries: the first
// section of a name counts, and within it the first entry of a key; names and keys match
// without regard to letter case; lines end in CR LF, LF or CR. Reading never writes.
class CareerArchive {
public:
    enum class Status { Read, Missing, Unreadable };

    explicit CareerArchive(std::string path);
    CareerArchive(const CareerArchive&) = delete;
    CareerArchive& operator=(const CareerArchive&) = delete;

    Status status() const { return status_; }
    const std::string& path() const { return path_; }
    // Why an unreadable archive could not be read ("Cannot read <path>: Is a directory").
    const std::string& problem() const { return problem_; }
    const std::vector<CareerSummary>& careers() const { return careers_; }
    std::size_t sections() const { return sections_; }
    // Names, each counted once however many sections repeat it.
    std::size_t names() const { return names_; }
    // Sections and entries that repeat an earlier name or key: never read.
    std::size_t repeats() const { return repeats_; }
    // The file holds a NUL byte, which no text file (and no archive the program wrote) does.
    bool holdsNonText() const { return nonText_; }

    // The career's entries, in order of year and team (entries without a year last).
    std::vector<SeasonEntry> seasons(std::size_t career) const;
    // Calls visit(key, value) for each of the career's season entries, as stored.
    void forEachValue(std::size_t career,
                      const std::function<void(std::string_view, std::string_view)>& visit) const;

private:
    struct Scan;
    void index();
    void forEachEntry(std::size_t begin, std::size_t end,
                      const std::function<void(std::string_view, std::string_view)>& visit) const;

    std::string path_;
    std::string bytes_;
    std::string problem_;
    Status status_ = Status::Missing;
    std::vector<CareerSummary> careers_;
    std::size_t sections_ = 0;
    std::size_t names_ = 0;
    std::size_t repeats_ = 0;
    bool nonText_ = false;
};

// Latin-1 letters folded to lower case, the rest unchanged: how names are compared.
inline char foldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    return c;
}

}  // namespace rostrix
