// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/CareerCsv.h"

#include "careers/CareerStats.h"
#include "platform/Latin1.h"

namespace rostrix {

namespace {

// A field with a comma, quote or line break goes in quotes, its quotes doubled.
std::string csvField(std::string_view latin1) {
    const std::string text = latin1ToUtf8(latin1);
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void appendRow(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += csvField(fields[i]);
    }
    out += "\r\n";
}

}  // namespace

std::string careerCsv(std::string_view name, const std::vector<SeasonEntry>& seasons) {
    const CareerRole role = seasons.empty() ? CareerRole::Batter : seasons.front().role;
    const auto& columns = careerColumns(role);
    std::string out;
    std::vector<std::string> row{"Player"};
    for (const auto& c : columns) row.emplace_back(c.title);
    row.emplace_back("Problem");
    appendRow(out, row);
    for (const auto& entry : seasons) {
        row.assign(1, std::string(name));
        for (std::size_t i = 0; i < columns.size(); ++i) row.push_back(seasonCellText(entry, i));
        row.push_back(entry.problemSummary());
        appendRow(out, row);
    }
    int leftOut = 0;
    const CareerLine totals = careerTotals(seasons, &leftOut);
    row.assign(1, std::string(name));
    for (std::size_t i = 0; i < columns.size(); ++i) row.push_back(totalCellText(totals, i));
    row.push_back(leftOutNote(leftOut));
    appendRow(out, row);
    return out;
}

QString careerCsvFileName(const QString& name) {
    QString file;
    for (const QChar c : name.simplified()) {
        if (c.isLetterOrNumber() || c == '-' || c == '.')
            file += c;
        else if (c == ' ' && !file.endsWith('_'))
            file += '_';
    }
    return (file.isEmpty() ? QStringLiteral("career") : file) + QStringLiteral(".csv");
}

}  // namespace rostrix
