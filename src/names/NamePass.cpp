// SPDX-License-Identifier: GPL-3.0-or-later
#include "names/NamePass.h"

#include <utility>

#include "format/TeamLayout.h"
#include "platform/LineFile.h"

namespace rostrix {

namespace {

// Indexes of the name field's first and last column.
constexpr std::size_t kSurnameAt = field::kName.first - 1u;
constexpr std::size_t kLastNameColumnAt = field::kName.last - 1u;
// Shorter lines hold no player for the names utility.
constexpr std::size_t kShortestNameLine = 75;

std::string onLine(const char* what, std::size_t lineNumber) {
    return std::string(what) + " on line " + std::to_string(lineNumber);
}

// The given name as the duplicate prompt shows it: from its initial up to column 27 or up
// to two blanks in a row, whichever comes first, and never empty.
std::string givenNameText(const std::string& line, std::size_t from) {
    std::size_t end = from + 1;
    while (end <= kLastNameColumnAt && end < line.size() &&
           !(end + 1 < line.size() && line[end] == ' ' && line[end + 1] == ' '))
        ++end;
    return line.substr(from, end - from);
}

char shifted(char c, int by) {
    return static_cast<char>(static_cast<unsigned char>(c) + by);
}

}  // namespace

std::optional<NameSplit> splitName(const std::string& line) {
    const std::size_t comma = line.find(',', kSurnameAt + 1);
    if (comma == std::string::npos) return std::nullopt;
    std::size_t given = comma + 1;
    if (given < line.size() && line[given] == ' ') ++given;  // one blank at most
    return NameSplit{kSurnameAt, comma, given};
}

bool isNameLine(const std::string& line) {
    return line.size() >= kShortestNameLine && !readsAsTitleLine(line);
}

NamePass::NamePass(DuplicateOption option, DuplicatePrompt prompt)
    : option_(option), prompt_(std::move(prompt)) {}

void NamePass::runLine(std::string& line, std::size_t lineNumber) const {
    if (!isNameLine(line)) return;
    const std::optional<NameSplit> split = splitName(line);
    if (!split)
        throw NamePassAbandoned(
            lineNumber, onLine("the player name", lineNumber) + " has no comma after the surname");
    const std::size_t comma = split->comma;
    const std::size_t given = split->given;
    if (given >= line.size())
        throw NamePassAbandoned(
            lineNumber, "nothing follows the comma of the player name" + onLine("", lineNumber));

    char surnameInitial = line[kSurnameAt];
    char givenInitial = line[given];
    if (surnameInitial == givenInitial && option_ != DuplicateOption::None) {
        char corrected = surnameInitial;
        switch (option_) {
            case DuplicateOption::Prompt: {
                const DuplicateName name{surnameInitial, givenNameText(line, given),
                                         line.substr(kSurnameAt, comma - kSurnameAt)};
                const std::optional<char> chosen = prompt_ ? prompt_(name) : std::nullopt;
                if (!chosen)
                    throw NamePassAbandoned(
                        lineNumber, "no replacement character was given for the duplicate name" +
                                        onLine("", lineNumber));
                corrected = *chosen;
                break;
            }
            case DuplicateOption::AutoEncrypt:
                corrected = shifted(corrected, 1);
                break;
            case DuplicateOption::AutoFix:
                corrected = shifted(corrected, -1);
                break;
            case DuplicateOption::None:
                break;
        }
        // A line break inside a name would split the line in two when the file is read.
        if (corrected == '\r' || corrected == '\n')
            throw NamePassAbandoned(
                lineNumber, onLine("the corrected initial", lineNumber) + " would be a line break");
        surnameInitial = givenInitial = corrected;
    }
    // The next pass would skip a blank put right after the comma and take the character
    // after it for the initial: the names could never be decoded again.
    if (given == comma + 1 && surnameInitial == ' ')
        throw NamePassAbandoned(lineNumber, onLine("the player name", lineNumber) +
                                                " would get a blank right after its comma");
    line[kSurnameAt] = givenInitial;
    line[given] = surnameInitial;
}

std::vector<std::string> NamePass::run(const std::vector<std::string>& lines) const {
    std::vector<std::string> out = lines;
    for (std::size_t i = 0; i < out.size(); ++i) runLine(out[i], i + 1);
    return out;
}

std::vector<std::string> readTeamFileLines(const std::string& path) {
    int why = 0;
    auto lines = readLines(path, &why);
    if (!lines) throw Error(fileFailureText("Cannot open file %s", path, why));
    return std::move(*lines);
}

std::vector<std::string> passAndSave(const NamePass& pass, const std::string& path,
                                     const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    try {
        out = pass.run(lines);
    } catch (const NamePassAbandoned& e) {
        throw Error("Cannot encode the names of " + path + ": " + e.reason() +
                    ". The file was not changed");
    }
    if (int why = 0; !writeLinesAtomic(path, out, &why))
        throw Error(fileFailureText("Cannot create file %s", path, why));
    return out;
}

bool isArchiveFileName(const std::string& name) {
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower == "archive.dat" || lower == "player.dat";
}

std::string stoppedRunReport(std::size_t changed, std::size_t total, const std::string& name,
                             const std::string& reason) {
    std::string why = reason;
    while (!why.empty() && (why.back() == '.' || why.back() == '\n')) why.pop_back();
    const std::size_t untouched = total > changed ? total - changed - 1 : 0;
    return "Changed " + std::to_string(changed) + " of " + std::to_string(total) +
           (total == 1 ? " file" : " files") + "; stopped at " + name + ": " + why + "; " +
           std::to_string(untouched) + " not touched.";
}

}  // namespace rostrix
