#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "teamfile/CareerColumns.h"

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

// One season entry, split into the columns of careerColumns(role). A cell that could not be
// read whole keeps what it holds and names its problem; a damaged entry stays out of totals.
struct SeasonEntry {
    int year = 0;  // 0 when the key holds no year
    std::string team;
    CareerRole role = CareerRole::Batter;
    std::vector<std::string> cells;     // the text of each column; "" for derived ones
    std::vector<std::int64_t> numbers;  // counts and ERA; -1 where there is none
    std::vector<std::string> problems;  // per column; "" where the cell is sound

    bool damaged() const;
    // "AB: not a number; Hit: cut short"
    std::string problemSummary() const;
};

// A statistic as read from its columns of a season value.
struct FieldRead {
    std::string_view text;    // the field's characters without the padding blanks
    std::int64_t number = -1; // counts and ERA
    const char* problem = nullptr;
};
FieldRead readField(std::string_view value, const CareerColumn& column);
// The year of a "2000 Oakland" key, or 0; team gets the team without its padding.
int seasonKeyYear(std::string_view key, std::string_view* team = nullptr);
// Pitcher lines carry the position code "01".
CareerRole roleOfValue(std::string_view value);
// The first problem of the entry's key, position code and statistics, or nullptr: the
// check that keeps an entry out of totals, without building its cells. numbers, when
// given, has room for every column and receives the counts and ERA.
const char* firstProblem(std::string_view key, std::string_view value,
                         std::int64_t* numbers = nullptr);

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
