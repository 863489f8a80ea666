// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerEntry.h"

#include <algorithm>

#include "format/PlayerArchiveKey.h"
#include "platform/AsciiText.h"

namespace rostrix {

namespace {

std::string problemText(const CareerColumn& column, const char* problem) {
    return std::string(column.title) + ": " + problem;
}

int keyYear(std::string_view key, std::string_view* team = nullptr) {
    const auto read = readSeasonKey(key);
    if (!read) return 0;
    if (team) *team = read->team;
    return read->year;
}

}  // namespace

FieldRead readField(std::string_view value, const CareerColumn& column) {
    FieldRead read;
    const std::size_t lo = seasonValueIndex(column.field->first);
    const std::size_t hi = seasonValueIndex(column.field->last) + 1;
    if (value.size() <= lo) {
        if (!column.field->optional) read.problem = "missing";
        return read;
    }
    const std::string_view raw = value.substr(lo, hi - lo);
    read.text = trimmedOf(raw);
    if (value.size() < hi) {
        read.problem = "cut short";
        return read;
    }
    if (lo > 0 && value[lo - 1] != ' ') {
        read.problem = "not in its columns";
        return read;
    }
    switch (column.kind) {
        case ColumnKind::Count:
        case ColumnKind::Era: {
            if (read.text.empty()) {
                read.problem = "missing";
                break;
            }
            if (!allAsciiDigits(read.text)) {
                read.problem = "not a number";
                break;
            }
            // Figures stand right-aligned in their field.
            if (raw.back() == ' ') {
                read.problem = "not in its columns";
                break;
            }
            read.number = 0;
            for (const char c : read.text) read.number = read.number * 10 + (c - '0');
            break;
        }
        case ColumnKind::Group:
            if (!readGroup(raw)) read.problem = "not a games-at-position group";
            break;
        case ColumnKind::Letter:
            if (read.text.empty()) read.problem = "missing";
            break;
        default:
            break;
    }
    return read;
}

CareerRole roleOfValue(std::string_view value) {
    return value.starts_with("01") ? CareerRole::Pitcher : CareerRole::Batter;
}

namespace {

bool positionSound(std::string_view value) {
    return value.size() >= 2 && isAsciiDigit(value[0]) && isAsciiDigit(value[1]) &&
           (value.size() == 2 || value[2] == ' ');
}

// The last file column the role's line may reach.
std::size_t lineEnd(const std::vector<CareerColumn>& columns) {
    std::size_t last = 0;
    for (const auto& c : columns)
        if (c.field) last = std::max<std::size_t>(last, c.field->last);
    return seasonValueIndex(last) + 1;
}

}  // namespace

const char* firstProblem(std::string_view key, std::string_view value, std::int64_t* numbers) {
    if (keyYear(key) == 0) return "not a year and a team";
    if (!positionSound(value)) return "not a two-digit position code";
    const auto& columns = careerColumns(roleOfValue(value));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!columns[i].field) continue;
        const FieldRead read = readField(value, columns[i]);
        if (read.problem) return read.problem;
        if (numbers) numbers[i] = read.number;
    }
    if (value.size() > lineEnd(columns)) return "text after the last column";
    return nullptr;
}

bool SeasonEntry::damaged() const {
    return std::any_of(problems.begin(), problems.end(),
                       [](const std::string& p) { return !p.empty(); });
}

std::string SeasonEntry::problemSummary() const {
    std::string summary;
    for (const auto& p : problems) {
        if (p.empty()) continue;
        if (!summary.empty()) summary += "; ";
        summary += p;
    }
    return summary;
}

SeasonEntry parseSeasonEntry(std::string_view key, std::string_view value) {
    SeasonEntry entry;
    entry.role = roleOfValue(value);
    const auto& columns = careerColumns(entry.role);
    entry.cells.assign(columns.size(), {});
    entry.numbers.assign(columns.size(), -1);
    entry.problems.assign(columns.size(), {});
    std::string_view team;
    entry.year = keyYear(key, &team);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const CareerColumn& column = columns[i];
        switch (column.kind) {
            case ColumnKind::Year:
                if (entry.year != 0) {
                    entry.cells[i] = std::string(key.substr(0, 4));
                } else {
                    // The key as it stands, so the user sees what to mend.
                    entry.cells[i] = std::string(key);
                    entry.problems[i] =
                        "Year: the key \"" + std::string(key) + "\" is not a year and a team";
                }
                break;
            case ColumnKind::Team:
                entry.team = std::string(team);
                entry.cells[i] = entry.team;
                break;
            case ColumnKind::Position:
                entry.cells[i] = std::string(value.substr(0, 2));
                if (!positionSound(value))
                    entry.problems[i] = problemText(column, "not a two-digit position code");
                break;
            case ColumnKind::Rate:
                break;
            default: {
                const FieldRead read = readField(value, column);
                entry.cells[i] = std::string(read.text);
                entry.numbers[i] = read.number;
                if (read.problem) entry.problems[i] = problemText(column, read.problem);
            }
        }
    }
    // Whatever follows the line's last column belongs to no statistic.
    std::size_t last = columns.size();
    while (last > 0 && !columns[last - 1].field) --last;
    if (last > 0 && value.size() > lineEnd(columns) && entry.problems[last - 1].empty())
        entry.problems[last - 1] = problemText(columns[last - 1], "text after the last column");
    return entry;
}

}  // namespace rostrix
