// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TeamRunReport.h"

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

}  // namespace rostrix
