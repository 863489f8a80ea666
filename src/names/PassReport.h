// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "names/NamePass.h"

namespace rostrix {

// Which way a pass turned a file's names. The exchange is its own inverse, so the names
// themselves tell: a plain name starts its surname and its given name the way words start
// ("Sm", "Jo"), while an exchanged initial mostly does not ("Jm", "So").
enum class PassWay { Encoded, Decoded, Unknown };

// What one pass did to one file.
struct PassCount {
    std::size_t changed = 0;    // names whose initials changed
    std::size_t unchanged = 0;  // names left as they were: their two initials are equal
    PassWay way = PassWay::Unknown;
};

// Compares a file's lines before and after a pass. Auto Encrypt only ever encodes and Auto
// Fix only ever decodes; otherwise the way is the one that leaves more names starting the
// way words start, and Unknown when both ways leave as many.
PassCount countPass(const std::vector<std::string>& before, const std::vector<std::string>& after,
                    DuplicateOption option);

// What Go! did: "Encoded 35 names in 01ALcin.dat." ("Decoded", or "Exchanged the initials
// of" when the names do not tell), and how many names with equal initials stayed; a file
// without player names says so.
std::string passReport(const PassCount& count, const std::string& fileName);

// What Fix Selected did over its files: "Encoded 84 names in 3 files." when every file went
// the same way, else "Changed 84 names in 3 files."
std::string fixSelectedReport(const std::vector<PassCount>& files);

// Fix Selected with no file ticked.
inline constexpr const char* kNothingTicked =
    "Nothing is ticked: tick the files to fix, or Select All.";

}  // namespace rostrix
