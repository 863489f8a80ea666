// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace rostrix {

// A field of a team file line: its columns (1-based, inclusive) and its name, the name the
// checker uses when it reports the field.
struct TeamField {
    std::size_t first;
    std::size_t last;
    const char* name;
};

// What a line is by its place in the file: the first line is the team title, a line
// opening with "*" a section line, a line under the pitcher section a pitcher.
enum class LineRole { Title, Section, Batter, Pitcher };

// sectionAbove: the nearest line above that opens with "*" ("" when there is none).
LineRole lineRole(bool firstLine, std::string_view line, std::string_view sectionAbove);

// Every field a line of the role may hold, left to right.
std::span<const TeamField> fieldsOf(LineRole role);

// The field holding the column, or nullptr for a blank between fields or a column past
// the line's end.
const TeamField* fieldAt(LineRole role, std::size_t length, std::size_t column);

// Where Tab goes from the column: the start of the next field the line holds, or the end
// of the line (length + 1) past its last field. Shift+Tab: the start of the field before.
std::size_t nextFieldColumn(LineRole role, std::size_t length, std::size_t column);
std::size_t previousFieldColumn(LineRole role, std::size_t length, std::size_t column);

// "Line 5, column 60: bats"; without the field for a blank or the end of the line.
std::string cursorPlace(std::size_t line, std::size_t column, const TeamField* field);

}  // namespace rostrix
