// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.h"

namespace rostrix {

// How a name whose surname and given name start with the same character is handled.
// Exchanging two equal initials changes nothing, so such a name would read the same
// encoded and plain; the options mark it instead.
enum class DuplicateOption {
    None,         // left as it is
    Prompt,       // the user picks the character both initials become
    AutoEncrypt,  // both initials one character code up
    AutoFix,      // both initials one character code down (undoes AutoEncrypt)
};

// A duplicate name as the prompt shows it.
struct DuplicateName {
    char initial;           // the shared initial
    std::string givenName;  // cut at column 27 or before two blanks, at least one character
    std::string surname;    // from column 10 up to the comma
};

// The character both initials become, or nothing when the user gave none.
using DuplicatePrompt = std::function<std::optional<char>(const DuplicateName&)>;

// A name the pass cannot handle. The pass is then abandoned as a whole.
class NamePassAbandoned : public Error {
public:
    NamePassAbandoned(std::size_t lineNumber, const std::string& reason)
        : Error(reason), lineNumber_(lineNumber), reason_(reason) {}
    std::size_t lineNumber() const { return lineNumber_; }  // counted from 1
    const std::string& reason() const { return reason_; }

private:
    std::size_t lineNumber_;
    std::string reason_;
};

// True for a batter or pitcher line: longer than 74 characters and not a title line
// (" AB" or "Inn" in columns 28 to 30).
bool isNameLine(const std::string& line);

// Where a player line's name divides: the surname starts at column 10 and ends before the
// first comma after it; the given name starts after the comma and at most one blank (given
// is the line's length when nothing follows). Nothing when there is no such comma.
struct NameSplit {
    std::size_t surname;  // indexes into the line
    std::size_t comma;
    std::size_t given;
};
std::optional<NameSplit> splitName(const std::string& line);

// Encodes or decodes the player names of a team file: in every player line the initial
// of the surname (column 10) and of the given name (after the comma and at most one
// blank) change places. The exchange is its own inverse, so the same pass encodes a
// plain file and decodes an encoded one. Characters are bytes, compared exactly.
class NamePass {
public:
    explicit NamePass(DuplicateOption option = DuplicateOption::None, DuplicatePrompt prompt = {});

    // The lines after the pass; every line keeps its length and only the two initials of
    // a player line change. Throws NamePassAbandoned for a name without a usable comma,
    // a prompt answered with no character, or a correction that would put a line break
    // into a name; the input is never touched, so an abandoned pass changes nothing.
    std::vector<std::string> run(const std::vector<std::string>& lines) const;

    // One line, in place; lineNumber only goes into the failure.
    void runLine(std::string& line, std::size_t lineNumber) const;

private:
    DuplicateOption option_;
    DuplicatePrompt prompt_;
};

// The lines of a team file; throws "Cannot open file <path>".
std::vector<std::string> readTeamFileLines(const std::string& path);

// Runs the pass over the lines of the file at path and replaces the file whole with the
// result (CR LF after every line). Returns the lines written. On any failure nothing is
// written and the Error names the file (and the line, when a name stopped the pass).
std::vector<std::string> passAndSave(const NamePass& pass, const std::string& path,
                                     const std::vector<std::string>& lines);

// True for the two archives the editor writes beside the team files (archive.dat and
// player.dat, in any case): they are not team files and the names utility leaves them out.
bool isArchiveFileName(const std::string& name);

// What a run over total files says when it stopped at the file name after changing
// changed of them: "Changed 1 of 12 files; stopped at <name>: <reason>; 10 not touched."
std::string stoppedRunReport(std::size_t changed, std::size_t total, const std::string& name,
                             const std::string& reason);

}  // namespace rostrix
