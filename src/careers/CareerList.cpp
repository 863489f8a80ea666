// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerList.h"

#include <algorithm>

namespace rostrix {

CareerList::CareerList(const std::vector<CareerSummary>& careers)
    : careers_(careers), orders_(ColumnCount) {
    std::size_t total = 0;
    for (const auto& c : careers) total += c.name.size();
    foldedNames_.reserve(total);
    nameStart_.reserve(careers.size() + 1);
    for (const auto& c : careers) {
        nameStart_.push_back(static_cast<std::uint32_t>(foldedNames_.size()));
        for (const char ch : c.name) foldedNames_.push_back(foldCase(ch));
    }
    nameStart_.push_back(static_cast<std::uint32_t>(foldedNames_.size()));
    apply();
}

std::string_view CareerList::folded(std::uint32_t career) const {
    return std::string_view(foldedNames_)
        .substr(nameStart_[career], nameStart_[career + 1] - nameStart_[career]);
}

void CareerList::sort(Column column, bool ascending) {
    column_ = column;
    ascending_ = ascending;
    apply();
}

void CareerList::search(std::string_view text) {
    std::string needle;
    needle.reserve(text.size());
    for (const char ch : text) needle.push_back(foldCase(ch));
    // A longer text only narrows what is shown already.
    const bool narrows = needle.starts_with(needle_) && !needle_.empty();
    needle_ = std::move(needle);
    if (!narrows) {
        apply();
        return;
    }
    std::erase_if(shown_, [this](std::uint32_t c) {
        return folded(c).find(needle_) == std::string_view::npos;
    });
}

void CareerList::apply() {
    std::vector<std::uint32_t>& order = orders_[column_];
    if (order.empty() && !careers_.empty()) {
        order.resize(careers_.size());
        const auto byName = [this](std::uint32_t a, std::uint32_t b) {
            const auto fa = folded(a), fb = folded(b);
            if (fa != fb)
                return std::lexicographical_compare(
                    fa.begin(), fa.end(), fb.begin(), fb.end(), [](char x, char y) {
                        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                    });
            if (careers_[a].name != careers_[b].name) return careers_[a].name < careers_[b].name;
            return careers_[a].role < careers_[b].role;
        };
        const auto key = [this](std::uint32_t c) -> long {
            const CareerSummary& s = careers_[c];
            switch (column_) {
                case Role:
                    return static_cast<long>(s.role);
                case Seasons:
                    return s.seasons;
                case FirstYear:
                    return s.firstYear;
                case LastYear:
                    return s.lastYear;
                default:
                    return 0;
            }
        };
        // The first eight bytes of each folded name as one number settle most comparisons.
        std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed(order.size());
        for (std::uint32_t c = 0; c < keyed.size(); ++c) {
            std::uint64_t prefix = 0;
            const std::string_view f = folded(c);
            for (std::size_t i = 0; i < 8; ++i)
                prefix = (prefix << 8) | (i < f.size() ? static_cast<unsigned char>(f[i]) : 0u);
            keyed[c] = {prefix, c};
        }
        std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            if (column_ != Name && key(a.second) != key(b.second))
                return key(a.second) < key(b.second);
            if (a.first != b.first) return a.first < b.first;
            return byName(a.second, b.second);
        });
        for (std::size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].second;
    }
    shown_.clear();
    shown_.reserve(order.size());
    const auto keep = [this](std::uint32_t c) {
        return needle_.empty() || folded(c).find(needle_) != std::string_view::npos;
    };
    if (ascending_) {
        std::copy_if(order.begin(), order.end(), std::back_inserter(shown_), keep);
    } else {
        std::copy_if(order.rbegin(), order.rend(), std::back_inserter(shown_), keep);
    }
}

}  // namespace rostrix
