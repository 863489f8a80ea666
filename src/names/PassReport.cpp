// SPDX-License-Identifier: GPL-3.0-or-later
#include "names/PassReport.h"

#include <string_view>

namespace rostrix {

namespace {

// Two letters that begin words: a vowel and any letter, a letter and a vowel, or a cluster
// names begin with.
bool startsLikeAWord(unsigned char first, unsigned char second) {
    static constexpr std::string_view kVowels = "aeiouy";
    static constexpr std::string_view kClusters[] = {
        "bl", "br", "ch", "cl", "cr", "dr", "dw", "fl", "fr", "gh", "gl", "gn", "gr", "kh", "kl",
        "kn", "kr", "ll", "mc", "ph", "pl", "pr", "ps", "qu", "rh", "sc", "sh", "sk", "sl", "sm",
        "sn", "sp", "st", "sv", "sw", "sz", "th", "tr", "tw", "vl", "wh", "wr", "zw"};
    // Bytes, whatever the locale: only A to Z count as letters ("O'Neil", accents pass).
    const auto lower = [](unsigned char c) { return static_cast<char>(c | 0x20); };
    const auto letter = [&](unsigned char c) { return lower(c) >= 'a' && lower(c) <= 'z'; };
    if (!letter(first) || !letter(second)) return true;
    const char pair[] = {lower(first), lower(second)};
    if (kVowels.find(pair[0]) != std::string_view::npos ||
        kVowels.find(pair[1]) != std::string_view::npos)
        return true;
    for (std::string_view cluster : kClusters)
        if (cluster == std::string_view(pair, 2)) return true;
    return false;
}

// Whether both parts of a player line's name start the way words start.
bool readsPlain(const std::string& line) {
    const std::optional<NameSplit> split = splitName(line);
    if (!split || split->given + 1 >= line.size()) return false;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(line[i]); };
    return startsLikeAWord(byte(split->surname), byte(split->surname + 1)) &&
           startsLikeAWord(byte(split->given), byte(split->given + 1));
}

// The report's first word: which way the names went, or what is said when they do not tell.
const char* wayWord(PassWay way, const char* unknown) {
    return way == PassWay::Encoded ? "Encoded " : way == PassWay::Decoded ? "Decoded " : unknown;
}

std::string names(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " name" : " names");
}

}  // namespace

PassCount countPass(const std::vector<std::string>& before, const std::vector<std::string>& after,
                    DuplicateOption option) {
    PassCount count;
    std::ptrdiff_t plainer = 0;  // names that read plain after the pass, less those before
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (!isNameLine(before[i])) continue;
        ++(before[i] == after[i] ? count.unchanged : count.changed);
        plainer += static_cast<int>(readsPlain(after[i])) - static_cast<int>(readsPlain(before[i]));
    }
    if (option == DuplicateOption::AutoEncrypt)
        count.way = PassWay::Encoded;
    else if (option == DuplicateOption::AutoFix)
        count.way = PassWay::Decoded;
    else if (plainer != 0)
        count.way = plainer < 0 ? PassWay::Encoded : PassWay::Decoded;
    return count;
}

std::string passReport(const PassCount& count, const std::string& fileName) {
    if (count.changed + count.unchanged == 0) return "Found no player names in " + fileName + ".";
    std::string text = wayWord(count.way, "Exchanged the initials of ") + names(count.changed) +
                       " in " + fileName + ".";
    if (count.unchanged)
        text += " " + names(count.unchanged) + " with two equal initials stayed as " +
                (count.unchanged == 1 ? "it was." : "they were.");
    return text;
}

std::string fixSelectedReport(const std::vector<PassCount>& files) {
    std::size_t changed = 0;
    PassWay way = files.empty() ? PassWay::Unknown : files.front().way;
    for (const PassCount& file : files) {
        changed += file.changed;
        if (file.way != way) way = PassWay::Unknown;
    }
    return wayWord(way, "Changed ") + names(changed) + " in " + std::to_string(files.size()) +
           (files.size() == 1 ? " file." : " files.");
}

}  // namespace rostrix
