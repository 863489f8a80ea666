// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "careers/CareerArchive.h"

namespace rostrix {

// The players list: every career of an archive in a chosen order, narrowed to the names
// that contain a search text. Sorting and searching stay quick over a hundred thousand
// names: each order is worked out once, and a search only walks the names.
class CareerList {
public:
    enum Column { Name, Role, Seasons, FirstYear, LastYear, ColumnCount };

    explicit CareerList(const std::vector<CareerSummary>& careers);

    void sort(Column column, bool ascending);
    // Keeps the careers whose name contains text, letter case aside.
    void search(std::string_view text);
    // Career indexes in the order shown.
    const std::vector<std::uint32_t>& shown() const { return shown_; }
    Column sortColumn() const { return column_; }
    bool ascending() const { return ascending_; }

private:
    std::string_view folded(std::uint32_t career) const;
    void apply();

    const std::vector<CareerSummary>& careers_;
    std::string foldedNames_;                         // every name in lower case, one after another
    std::vector<std::uint32_t> nameStart_;            // where each career's name starts in it
    std::vector<std::vector<std::uint32_t>> orders_;  // ascending, per column, made on demand
    std::vector<std::uint32_t> shown_;
    std::string needle_;
    Column column_ = Name;
    bool ascending_ = true;
};

}  // namespace rostrix
