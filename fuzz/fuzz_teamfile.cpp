// SPDX-License-Identifier: GPL-3.0-or-later
// Team text over arbitrary bytes: line splitting, every roster filter kind with extreme
// thresholds, and the team file check. Checks that
// - split lines hold no line break, and joining them with CR LF and splitting again gives
//   them back;
// - the filter keeps lines in their order, only drops player lines past the line-up for the
//   batter kinds, asks only about the first ten lines and only for the batter kinds, puts
//   the placeholder only where the user agreed, and fails only with its two errors;
// - whether it fails does not depend on the threshold, nothing is dropped at the lowest
//   threshold, a higher threshold never keeps more, and a second run keeping every starter
//   changes nothing more;
// - each problem the check reports lies on a line of the text (or the one after the last,
//   for a missing line), its field inside that line, in line order, one row each.
// - a value typed into a field, taken from the bytes, is refused or written into that field's
//   columns alone, whole and as the check accepts it; emptying a games-at-position group
//   only cuts the line's end.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "format/TeamLayout.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "teamfile/FieldEdit.h"
#include "teamfile/RosterFilter.h"
#include "teamfile/TeamFileCheck.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

constexpr int kThresholds[] = {INT_MIN, -1000, -1, 0, 1, 2, 100, 999, 1000, 1001, INT_MAX};
constexpr std::size_t kLineUp = 10;

void checkSplitting(std::string_view bytes, const std::vector<std::string>& lines) {
    std::size_t breaks = 0;
    for (const std::string& line : lines)
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos, "line break in " + shown(line));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++breaks;
    const bool tail = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
    FUZZ_CHECK(lines.size() == breaks + (tail ? 1 : 0), "line count");
    FUZZ_CHECK(splitLines(joinLinesCrlf(lines)) == lines, "CR LF round trip");
}

struct Run {
    std::optional<std::string> error;
    std::vector<std::string> kept;
    std::vector<std::size_t> asked;
};

// The user's answer to the question about a line, fixed per line so runs compare.
bool agrees(const std::vector<std::string>& lines, std::size_t i) {
    return (lines[i].size() + i + static_cast<unsigned char>(lines[i][0])) % 3 != 0;
}

Run filter(const std::vector<std::string>& lines, FilterKind kind, int threshold, bool answers) {
    Run run;
    try {
        run.kept = runRosterFilter(lines, kind, threshold, [&](std::size_t i) {
                       run.asked.push_back(i);
                       return answers && agrees(lines, i);
                   }).value();
    } catch (const Error& e) {
        run.error = e.what();
    }
    return run;
}

bool isBatterKind(FilterKind kind) {
    return kind == FilterKind::BatterAtBats || kind == FilterKind::BatterGames;
}

void checkRun(const std::vector<std::string>& lines, FilterKind kind, int threshold,
              const Run& run) {
    const std::string what = "kind " + std::to_string(static_cast<int>(kind)) + " threshold " +
                             std::to_string(threshold);
    if (run.error) {
        const std::string& e = *run.error;
        const std::string invalid = "' is not a valid integer value";
        FUZZ_CHECK(e == "Range check error" || (e.size() >= invalid.size() + 1 &&
                                                e.front() == '\'' && e.ends_with(invalid)),
                   what + ": error " + shown(e));
        return;
    }
    for (std::size_t k = 0; k < run.asked.size(); ++k) {
        FUZZ_CHECK(isBatterKind(kind), what + ": question for a pitcher kind");
        FUZZ_CHECK(run.asked[k] < kLineUp, what + ": question past the line-up");
        FUZZ_CHECK(k == 0 || run.asked[k] > run.asked[k - 1], what + ": questions out of order");
    }
    // Walk both lists: a line asked about is the placeholder or itself, as answered; any
    // other line is kept as it is or dropped, and only a player line may be dropped.
    std::size_t j = 0, q = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (q < run.asked.size() && run.asked[q] == i) {
            ++q;
            const std::string want = agrees(lines, i) ? std::string(kPlaceholderLine) : lines[i];
            FUZZ_CHECK(j < run.kept.size() && run.kept[j] == want,
                       what + ": answered line " + std::to_string(i));
            ++j;
        } else if (j < run.kept.size() && run.kept[j] == lines[i]) {
            ++j;
        } else {
            FUZZ_CHECK(lines[i].size() >= field::kName.last,
                       what + ": short line dropped " + shown(lines[i]));
            FUZZ_CHECK(!isBatterKind(kind) || i >= kLineUp,
                       what + ": starter dropped without a question, line " + std::to_string(i));
            FUZZ_CHECK(i > 0, what + ": first line dropped");
        }
    }
    FUZZ_CHECK(j == run.kept.size(), what + ": lines added or out of order");
}

void checkProblems(const std::vector<std::string>& lines) {
    const std::vector<TeamFileProblem> problems = checkTeamFile(lines);
    std::size_t previous = 1;
    for (const TeamFileProblem& p : problems) {
        const std::string what = "line " + std::to_string(p.line) + " column " +
                                 std::to_string(p.column) + ": " + p.message;
        FUZZ_CHECK(p.line >= previous && p.line <= lines.size() + 1, what + ": out of order");
        previous = p.line;
        FUZZ_CHECK(!p.message.empty() && p.width >= 1, what + ": no message or width");
        if (p.column == 0) continue;
        FUZZ_CHECK(p.line <= lines.size() && p.column + p.width - 1 <= lines[p.line - 1].size(),
                   what + ": field past the end of the line");
    }
    const std::string rows = describeProblems(problems);
    FUZZ_CHECK(
        static_cast<std::size_t>(std::count(rows.begin(), rows.end(), '\n')) == problems.size(),
        "one row per problem");
}

void checkFieldEdit(const std::string& line, LineRole role, const TeamField& f,
                    std::string_view typed) {
    const FieldEdit edit = editField(line, role, f, typed);
    const std::string what =
        std::string(f.name) + " = " + shown(std::string(typed)) + " in " + shown(line);
    if (!edit.refusal.empty()) return;
    if (f.optional && typed.find_first_not_of(' ') == std::string_view::npos) {
        FUZZ_CHECK(line.starts_with(edit.line) &&
                       edit.line.size() + 1 >= std::min<std::size_t>(line.size(), f.first - 1u),
                   what + ": clearing cut into the fields before");
        return;
    }
    FUZZ_CHECK(edit.line.size() >= f.last, what + ": the field is not whole");
    FUZZ_CHECK(!fieldFault(role, f, columns(edit.line, f)),
               what + ": wrote what the check refuses");
    for (std::size_t c = 1; c <= edit.line.size(); ++c)
        if (c < f.first || c > f.last)
            FUZZ_CHECK(edit.line[c - 1] == (c <= line.size() ? line[c - 1] : ' '),
                       what + ": column " + std::to_string(c) + " changed");
}

// The first lines' fields, each given the start of the next line, nothing, and its own value.
void checkFieldEdits(const std::vector<std::string>& lines) {
    LineRoles roles;
    for (std::size_t i = 0; i < lines.size() && i < 40; ++i) {
        const LineRole role = roles.next(lines[i]);
        const std::string& next = lines[(i + 1) % lines.size()];
        for (const TeamField& f : fieldsOf(role)) {
            if (f.kind == FieldKind::Mark) continue;
            for (const std::string_view typed : {std::string_view(next).substr(0, f.width() + 2),
                                                 std::string_view(), columns(lines[i], f)})
                checkFieldEdit(lines[i], role, f, typed);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<std::string> lines = splitLines(bytes);
        checkSplitting(bytes, lines);
        checkProblems(lines);
        checkFieldEdits(lines);
        for (int k = 0; k < 4; ++k) {
            const FilterKind kind = *filterKindAt(k);
            std::optional<std::string> error;
            std::size_t previous = lines.size();
            for (const int threshold : kThresholds) {
                const Run run = filter(lines, kind, threshold, true);
                checkRun(lines, kind, threshold, run);
                if (threshold == INT_MIN) error = run.error;
                FUZZ_CHECK(run.error == error, "the error depends on the threshold");
                if (run.error) continue;
                if (threshold == INT_MIN)
                    FUZZ_CHECK(run.kept == lines && run.asked.empty(),
                               "lowest threshold changed the team");
                FUZZ_CHECK(run.kept.size() <= previous, "a higher threshold kept more lines");
                previous = run.kept.size();
                const Run again = filter(run.kept, kind, threshold, false);
                FUZZ_CHECK(!again.error && again.kept == run.kept,
                           "a second run changed more: " + again.error.value_or(""));
            }
        }
        FUZZ_CHECK(!runRosterFilter(lines, std::nullopt, 1, [](std::size_t) { return true; }),
                   "no kind selected still filtered");
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "an exception other than the filter's errors", e.what());
    }
    return 0;
}
