// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TeamRunReport.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>

namespace rostrix {

long long fileSizeOrZero(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<long long>(size);
}

std::string appendedLogTail(const std::string& logPath, long long sizeBefore, std::size_t maxLines,
                            std::size_t maxChars) {
    std::ifstream in(logPath, std::ios::binary);
    if (!in) return {};
    // A log that shrank was replaced during the run: all of it is this run's.
    if (sizeBefore < 0 || sizeBefore > fileSizeOrZero(logPath)) sizeBefore = 0;
    in.seekg(sizeBefore);
    std::deque<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        lines.push_back(line);
        if (lines.size() > maxLines) lines.pop_front();
    }
    std::string text;
    for (const std::string& l : lines) text += (text.empty() ? "" : "\n") + l;
    if (text.size() > maxChars) text = "..." + text.substr(text.size() - (maxChars - 3));
    return text;
}

std::string withScriptWords(const std::string& problem, const std::string& said) {
    if (said.empty()) return problem;
    const std::size_t end = problem.find('\n');
    const std::string first = problem.substr(0, end);
    const std::string rest = end == std::string::npos ? "" : problem.substr(end);
    return first + "\nThe script said:\n" + said + rest;
}

std::string replaceTeamFileQuestion(const std::string& fileName, const std::string& homeFolder) {
    return fileName + ".dat already exists in " + homeFolder + ". Replace it?";
}

std::string writtenWithProblemsMessage(const std::string& teamFile, std::size_t problems) {
    return "The team file " + teamFile + " was written but has " + std::to_string(problems) +
           (problems == 1 ? " problem" : " problems") +
           "; Edit Team, then Check Team File (F7), shows them.";
}

std::string teamFormProblems(const std::string& team, const std::string& fileName) {
    std::string problems;
    const auto blank = [](const std::string& text) {
        return text.find_first_not_of(" \t") == std::string::npos;
    };
    if (blank(team)) problems += "Enter the club's code in Team, for example CIN.\n";
    if (blank(fileName))
        problems += "Enter a name for the team file in File, for example 01ALcin (no .dat).\n";
    else if (fileName.find_first_of("/\\") != std::string::npos)
        problems += "Enter only a name in File, without a folder: \"" + fileName +
                    "\" holds a / or \\. The team file is written in the home folder.\n";
    if (!problems.empty()) problems.pop_back();
    return problems;
}

std::string teamRunSummary(const std::string& logPath, long long sizeBefore,
                           const std::string& fileName) {
    const std::string said = appendedLogTail(logPath, sizeBefore, 1000, 1000000);
    std::string summary;
    std::size_t start = 0;
    while (start <= said.size()) {
        const std::size_t end = std::min(said.find('\n', start), said.size());
        const std::string line = said.substr(start, end - start);
        const std::size_t wrote = line.find("wrote ");
        if (wrote != std::string::npos && line.find(fileName) != std::string::npos)
            summary = line.substr(wrote);
        start = end + 1;
    }
    return summary.empty() ? "Wrote " + fileName + ".dat." : summary;
}

}  // namespace rostrix
