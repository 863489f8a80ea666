// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/FieldEdit.h"

#include <algorithm>

#include "platform/AsciiText.h"
#include "teamfile/TeamFileCheck.h"

namespace rostrix {

namespace {

struct LaidOut {
    std::string text;
    std::string refusal;
};

LaidOut refused(std::string why) {
    return {{}, std::move(why)};
}

std::string roomFor(const TeamField& f, const char* what) {
    return std::string(f.name) + " has room for " + std::to_string(f.width()) + " " + what;
}

// The value in the field's width, as the format writes that kind of field.
LaidOut layOut(const TeamField& f, std::string_view v) {
    const std::string name(f.name);
    switch (f.kind) {
        case FieldKind::Count: {
            if (v.empty()) return refused(name + " needs a number");
            if (!allAsciiDigits(v)) return refused(name + " must be a whole number");
            const std::size_t zeros = std::min(v.find_first_not_of('0'), v.size() - 1);
            v.remove_prefix(zeros);
            if (v.size() > f.width()) return refused(roomFor(f, "digits"));
            return {std::string(f.width() - v.size(), ' ') + std::string(v), {}};
        }
        case FieldKind::Code:
            if (v.empty() || !allAsciiDigits(v)) return refused(name + " must be digits");
            if (v.size() > f.width()) return refused(roomFor(f, "digits"));
            return {std::string(f.width() - v.size(), '0') + std::string(v), {}};
        case FieldKind::Flag:
        case FieldKind::Letter:
            if (v.size() > 1 || (f.kind == FieldKind::Letter && v.empty()))
                return refused(name + " takes one letter");
            // Bats and throws are capitals; the title's letter is kept as typed.
            if (f.kind == FieldKind::Letter && f != field::kLetter) return {{asciiUpper(v[0])}, {}};
            return {v.empty() ? " " : std::string(v), {}};
        case FieldKind::Group: {
            // "62-8" and "62-d" are what "062-8" and "062-D" say.
            const std::size_t dash = v.find('-');
            if (dash >= 1 && dash <= 3 && dash + 2 == v.size() && allAsciiDigits(v.substr(0, dash)))
                return {std::string(3 - dash, '0') + std::string(v.substr(0, dash + 1)) +
                            asciiUpper(v.back()),
                        {}};
            [[fallthrough]];
        }
        case FieldKind::Name:
            if (v.size() > f.width()) return refused(roomFor(f, "characters"));
            return {std::string(v) + std::string(f.width() - v.size(), ' '), {}};
        case FieldKind::Mark:
            break;
    }
    return refused(name + " is not edited here");
}

}  // namespace

const std::vector<const TeamField*>& playerColumns() {
    static const std::vector<const TeamField*> columns = [] {
        std::vector<const TeamField*> all;
        for (const TeamField& f : fieldsOf(LineRole::Batter)) all.push_back(&f);
        for (const TeamField& f : fieldsOf(LineRole::Pitcher))
            if (!lineHolds(LineRole::Batter, f)) all.push_back(&f);
        // The name says whose line it is, so it leads.
        const auto place = [](const TeamField* f) { return *f == field::kName ? 0 : f->first; };
        std::stable_sort(all.begin(), all.end(), [&](const TeamField* a, const TeamField* b) {
            return place(a) < place(b);
        });
        return all;
    }();
    return columns;
}

bool lineHolds(LineRole role, const TeamField& f) {
    const auto fields = fieldsOf(role);
    return std::find(fields.begin(), fields.end(), f) != fields.end();
}

std::string columnHeading(const TeamField& f) {
    if (!f.title.empty()) return std::string(f.title);
    std::string heading(f.name);
    if (!heading.empty()) heading[0] = asciiUpper(heading[0]);
    return heading;
}

std::string fieldValue(std::string_view line, const TeamField& f) {
    std::string_view v = columns(line, f);
    v = v.substr(0, v.find_last_not_of(' ') + 1);
    // A name shows a leading blank, which is a fault; a count's are its padding.
    if (f.kind != FieldKind::Name) v = trimmedOf(v);
    return std::string(v);
}

FieldEdit editField(std::string_view line, LineRole role, const TeamField& f,
                    std::string_view typed) {
    for (const char c : typed)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return {{}, "a team file holds no tabs or line breaks in a field"};
    const auto fields = fieldsOf(role);
    const auto at = std::find(fields.begin(), fields.end(), f);
    if (at == fields.end()) return {{}, std::string(f.name) + " is not on this line"};
    const std::string_view v = trimmedOf(typed);
    // The optional groups are left off the end of the line, never blanked in its middle.
    if (f.optional) {
        const bool nextHeld = at + 1 != fields.end() && line.size() >= at[1].first;
        if (v.empty() && nextHeld) return {{}, "clear the games-at-position group after it first"};
        if (v.empty())
            return {std::string(line.substr(0, std::min(line.size(), std::size_t{at[-1].last}))),
                    {}};
        if (line.size() < at[-1].last)
            return {{}, "fill the games-at-position group before it first"};
    }
    const LaidOut laid = layOut(f, v);
    if (!laid.refusal.empty()) return {{}, laid.refusal};
    if (const auto fault = fieldFault(role, f, laid.text)) {
        // "must be a letter" says which field only beside its column.
        const bool bare = fault->message.starts_with("must");
        return {{}, (bare ? "the " + std::string(f.name) + " " : "") + fault->message};
    }
    std::string out(line);
    if (out.size() < f.first - 1u) out.resize(f.first - 1u, ' ');
    out.replace(f.first - 1u, std::min(f.width(), out.size() - (f.first - 1u)), laid.text);
    return {std::move(out), {}};
}

}  // namespace rostrix
