// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "format/TeamLayout.h"

namespace rostrix {

// A team file shown as a table of its player lines: one column per field.

// Every field a batter line or a pitcher line holds, once each: the name, then the others in
// the order of their columns; where both kinds of line hold a field at the same columns
// ("AB" and "Inn"), the batter's comes first. Each keeps its own title, so a cell's heading
// always names it.
const std::vector<const TeamField*>& playerColumns();
bool lineHolds(LineRole role, const TeamField& f);

// The heading of a field's column: the title the file puts over it, else its name with a
// capital ("Name", "Position code").
std::string columnHeading(const TeamField& f);

// What a cell shows of a field: its characters without the blanks that pad them.
std::string fieldValue(std::string_view line, const TeamField& f);

// A value typed for a field, laid out as the format lays it (counts right-aligned without
// leading zeros, codes zero-padded, names left-aligned, blank-padded to the field's width)
// in that field's columns of the line, and nothing else of the line moved. A value the
// check would find fault with is refused, and why is said.
struct FieldEdit {
    std::string line;     // the line with the value in place
    std::string refusal;  // empty when the value was taken
};
// An empty value clears an optional group (the last one the line holds); a value for one the
// line lacks adds it after the groups it has.
FieldEdit editField(std::string_view line, LineRole role, const TeamField& f,
                    std::string_view typed);

}  // namespace rostrix
