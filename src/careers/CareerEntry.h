// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "careers/CareerColumns.h"

namespace rostrix {

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
    std::string_view text;     // the field's characters without the padding blanks
    std::int64_t number = -1;  // counts and ERA
    const char* problem = nullptr;
};
FieldRead readField(std::string_view value, const CareerColumn& column);
// Pitcher lines carry the position code "01".
CareerRole roleOfValue(std::string_view value);
// The first problem of the entry's key, position code and statistics, or nullptr: the
// check that keeps an entry out of totals, without building its cells. numbers, when
// given, has room for every column and receives the counts and ERA.
const char* firstProblem(std::string_view key, std::string_view value,
                         std::int64_t* numbers = nullptr);

// The entry split into the columns of its kind.
SeasonEntry parseSeasonEntry(std::string_view key, std::string_view value);

}  // namespace rostrix
