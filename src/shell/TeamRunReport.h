// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace rostrix {

// The last lines (at most maxLines, at most maxChars in all, blank lines skipped) that
// were appended to the log at logPath after it was sizeBefore bytes long: what the
// script said during this run. "" when it said nothing or the log cannot be read. A
// text longer than maxChars keeps its end, behind "...".
std::string appendedLogTail(const std::string& logPath, long long sizeBefore,
                            std::size_t maxLines = 3, std::size_t maxChars = 300);

// The size of a file in bytes, 0 when it does not exist.
long long fileSizeOrZero(const std::string& path);

// A run's problem text (first sentence, then "The script's messages are in ...") with
// what the script said quoted after the first sentence. Unchanged when said is empty.
std::string withScriptWords(const std::string& problem, const std::string& said);

// Asked before Create Team runs when its team file is already there.
std::string replaceTeamFileQuestion(const std::string& fileName, const std::string& homeFolder);

// Told after a good run when the written file does not pass the team file check.
std::string writtenWithProblemsMessage(const std::string& teamFile, std::size_t problems);

// What keeps Create Team from running, all of it in one text, one line per fault: an
// empty Team or File box, or a File box holding a folder separator. "" when the form
// is fit to run.
std::string teamFormProblems(const std::string& team, const std::string& fileName);

// The builder's own summary of a run that wrote fileName.dat: the last line it appended
// to the log that says "wrote", without the script's name in front; when it said none,
// a plain "Wrote <fileName>.dat." instead.
std::string teamRunSummary(const std::string& logPath, long long sizeBefore,
                           const std::string& fileName);

}  // namespace rostrix
