// SPDX-License-Identifier: GPL-3.0-or-later
// The name pass over arbitrary team text. Checks that
// - every line keeps its length, lines that are not player lines stay as they are, and a
//   player line changes at most in column 10 and at the given name's initial;
// - two passes with no option give the lines back, and so do a pass with Auto Encrypt
//   followed by one with Auto Fix;
// - a prompt answered with the initial it shows changes nothing against no option;
// - an abandoned pass is the only failure, and the file pass writes the lines of the pass
//   with CR LF, or leaves the file as it was;
// - the report of a pass counts every player line once.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "names/NamePass.h"
#include "names/PassReport.h"
#include "platform/Error.h"
#include "platform/LineFile.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

std::optional<std::vector<std::string>> pass(const std::vector<std::string>& lines,
                                             DuplicateOption option, DuplicatePrompt prompt = {}) {
    try {
        return NamePass(option, std::move(prompt)).run(lines);
    } catch (const NamePassAbandoned& e) {
        FUZZ_CHECK(e.lineNumber() >= 1 && e.lineNumber() <= lines.size() &&
                       isNameLine(lines[e.lineNumber() - 1]),
                   "abandoned at line " + std::to_string(e.lineNumber()) + ": " + e.reason());
        return std::nullopt;
    }
}

// Where a player line's initials are: column 10 and the given name's first character.
void checkChanges(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    FUZZ_CHECK(before.size() == after.size(), "line count");
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::string& a = before[i];
        const std::string& b = after[i];
        FUZZ_CHECK(a.size() == b.size(), "line " + std::to_string(i + 1) + " changed its length");
        if (!isNameLine(a)) {
            FUZZ_CHECK(a == b, "line that is no player line changed: " + shown(a));
            continue;
        }
        const std::size_t comma = a.find(',', 10);
        const std::size_t given = comma + 1 + (a[comma + 1] == ' ' ? 1 : 0);
        for (std::size_t k = 0; k < a.size(); ++k)
            FUZZ_CHECK(a[k] == b[k] || k == 9 || k == given,
                       "column " + std::to_string(k + 1) + " changed in " + shown(a));
        FUZZ_CHECK(b.find_first_of("\r\n") == std::string::npos, "line break in " + shown(b));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<std::string> lines = splitLines(bytes);
        const auto plain = pass(lines, DuplicateOption::None);
        if (plain) {
            checkChanges(lines, *plain);
            // The report counts every player line once, changed or not.
            const PassCount count = countPass(lines, *plain, DuplicateOption::None);
            FUZZ_CHECK(
                count.changed + count.unchanged ==
                    static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), isNameLine)),
                "the report's count");
            const auto back = pass(*plain, DuplicateOption::None);
            FUZZ_CHECK(back && *back == lines, "two passes did not restore the names");
            const auto same = pass(lines, DuplicateOption::Prompt,
                                   [](const DuplicateName& n) { return n.initial; });
            FUZZ_CHECK(same == plain, "accepting the proposed initials changed something");
        }
        if (const auto encrypted = pass(lines, DuplicateOption::AutoEncrypt)) {
            checkChanges(lines, *encrypted);
            const auto fixed = pass(*encrypted, DuplicateOption::AutoFix);
            FUZZ_CHECK(!fixed || *fixed == lines, "Auto Fix did not undo Auto Encrypt");
        }
        // A prompt that answers from the name, sometimes with nothing.
        const auto prompted = pass(lines, DuplicateOption::Prompt, [](const DuplicateName& n) {
            const unsigned char c = static_cast<unsigned char>(n.initial);
            FUZZ_CHECK(!n.givenName.empty() && n.givenName.size() <= 18 && !n.surname.empty(),
                       "prompt shows " + shown(n.givenName) + " " + shown(n.surname));
            return c % 7 == 0 ? std::nullopt : std::optional<char>(static_cast<char>(c + 13));
        });
        if (prompted) checkChanges(lines, *prompted);

        // The file pass writes the pass's lines, or nothing at all.
        const std::string path = scratchFolder() + "/team.dat";
        writeBytes(path, bytes);
        try {
            const auto written = passAndSave(NamePass(), path, lines);
            FUZZ_CHECK(plain && written == *plain, "file pass differs from the pass");
            FUZZ_CHECK(readFileBytes(path) == joinLinesCrlf(written), "file bytes");
        } catch (const Error& e) {
            FUZZ_CHECK(!plain, std::string("file pass failed: ") + e.what());
            FUZZ_CHECK(readFileBytes(path) == std::string(bytes), "a failed pass changed the file");
        }
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "an exception other than an abandoned pass", e.what());
    }
    return 0;
}
