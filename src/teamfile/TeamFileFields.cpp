// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamFileFields.h"

#include <array>

namespace rostrix {

namespace {

constexpr std::array<TeamField, 5> kTitleFields{{{1, 2, "title mark"},
                                                 {10, 10, "letter"},
                                                 {11, 14, "season"},
                                                 {16, 27, "team name"},
                                                 {28, 92, "column titles"}}};
constexpr std::array<TeamField, 2> kSectionFields{
    {{1, 27, "section word"}, {28, 92, "column titles"}}};
constexpr std::array<TeamField, 20> kBatterFields{{{1, 2, "digits"},
                                                   {5, 5, "flag"},
                                                   {7, 8, "position code"},
                                                   {10, 27, "name"},
                                                   {28, 30, "at bats"},
                                                   {32, 34, "hits"},
                                                   {36, 38, "doubles"},
                                                   {40, 42, "triples"},
                                                   {44, 46, "home runs"},
                                                   {48, 50, "walks"},
                                                   {52, 54, "strike-outs"},
                                                   {56, 58, "runs batted in"},
                                                   {60, 60, "bats"},
                                                   {62, 64, "errors"},
                                                   {66, 67, "stolen bases"},
                                                   {69, 70, "caught stealing"},
                                                   {72, 74, "games"},
                                                   {76, 80, "games-at-position group"},
                                                   {82, 86, "games-at-position group"},
                                                   {88, 92, "games-at-position group"}}};
constexpr std::array<TeamField, 18> kPitcherFields{{{1, 2, "digits"},
                                                    {5, 5, "flag"},
                                                    {7, 8, "position code"},
                                                    {10, 27, "name"},
                                                    {28, 30, "innings"},
                                                    {32, 34, "hits"},
                                                    {36, 38, "doubles"},
                                                    {40, 42, "triples"},
                                                    {44, 46, "home runs"},
                                                    {48, 50, "walks"},
                                                    {52, 54, "strike-outs"},
                                                    {56, 58, "earned-run average"},
                                                    {60, 60, "throws"},
                                                    {62, 64, "wins"},
                                                    {66, 67, "losses"},
                                                    {69, 70, "saves"},
                                                    {72, 74, "games"},
                                                    {76, 78, "games started"}}};

}  // namespace

LineRole lineRole(bool firstLine, std::string_view line, std::string_view sectionAbove) {
    if (firstLine) return LineRole::Title;
    if (line.starts_with('*')) return LineRole::Section;
    return sectionAbove.starts_with("*P") ? LineRole::Pitcher : LineRole::Batter;
}

std::span<const TeamField> fieldsOf(LineRole role) {
    switch (role) {
        case LineRole::Title:
            return kTitleFields;
        case LineRole::Section:
            return kSectionFields;
        case LineRole::Pitcher:
            return kPitcherFields;
        case LineRole::Batter:
            break;
    }
    return kBatterFields;
}

const TeamField* fieldAt(LineRole role, std::size_t length, std::size_t column) {
    if (column > length) return nullptr;
    for (const TeamField& f : fieldsOf(role))
        if (f.first <= column && column <= f.last) return &f;
    return nullptr;
}

std::size_t nextFieldColumn(LineRole role, std::size_t length, std::size_t column) {
    for (const TeamField& f : fieldsOf(role))
        if (f.first > column && f.first <= length) return f.first;
    return length + 1;
}

std::size_t previousFieldColumn(LineRole role, std::size_t length, std::size_t column) {
    std::size_t before = 1;
    for (const TeamField& f : fieldsOf(role))
        if (f.first < column && f.first <= length) before = f.first;
    return before;
}

std::string cursorPlace(std::size_t line, std::size_t column, const TeamField* field) {
    std::string place = "Line " + std::to_string(line) + ", column " + std::to_string(column);
    if (field) place += std::string(": ") + field->name;
    return place;
}

}  // namespace rostrix
