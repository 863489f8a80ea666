// SPDX-License-Identifier: GPL-3.0-or-later
// The team and player archives written from arbitrary team text and read back through
// ProfileFile. Checks that
// - every team line reads back from its "Line N" entry, and archiving the same team again
//   leaves the file byte for byte as it was; a shorter team rewrites its first entries and
//   leaves the rest;
// - every player line longer than 75 characters that is not a title line reads back from
//   the player's section (title entry and season entry), the status texts come in their
//   order, and writing the same team again changes nothing;
// - "Write Checked" files exactly the checked players;
// - nothing but the program's own Error leaves the writers.
#include <cstdint>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"
#include "teamfile/PlayerArchive.h"
#include "teamfile/TeamArchive.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

const char* const kDefault = "\x01 default";
const char* const kTitleKey = "Year Team        =";

std::string fileBytes(const std::string& path) {
    return readFileBytes(path).value_or("<missing>");
}

void checkTeamArchive(const std::vector<std::string>& lines, const std::string& section) {
    const std::string path = scratchFolder() + "/archive.dat";
    std::filesystem::remove(path);
    writeTeamArchive(path, section, lines);
    if (lines.empty()) {
        FUZZ_CHECK(!std::filesystem::exists(path), "an empty team created the archive");
        return;
    }
    const std::string first = fileBytes(path);
    {
        ProfileFile archive(path);
        for (std::size_t i = 0; i < lines.size(); ++i)
            FUZZ_CHECK(
                archive.read(section, "Line " + std::to_string(i), kDefault) == readBack(lines[i]),
                "team line " + std::to_string(i) + " " + shown(lines[i]));
    }
    writeTeamArchive(path, section, lines);
    FUZZ_CHECK(fileBytes(path) == first, "archiving the same team again changed the file");

    // As after the roster filter: every third line gone.
    std::vector<std::string> shorter;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (i % 3 != 1) shorter.push_back(lines[i]);
    writeTeamArchive(path, section, shorter);
    ProfileFile archive(path);
    for (std::size_t i = 0; i < lines.size(); ++i)
        FUZZ_CHECK(archive.read(section, "Line " + std::to_string(i), kDefault) ==
                       readBack(i < shorter.size() ? shorter[i] : lines[i]),
                   "shorter team, line " + std::to_string(i));
}

struct Entry {
    std::string section, key, value;
};

// The entries a run files, in order, from the lines flagged in wanted.
std::vector<Entry> playerEntries(const std::vector<std::string>& lines,
                                 const std::vector<bool>& wanted) {
    std::vector<Entry> entries;
    std::string year, team, titles;
    // The second season of a name in one run (a two-way player, namesakes) is filed under
    // " #2" after the team field, the third under " #3"; names count alike whatever their
    // case and trailing blanks.
    std::map<std::string, int> met;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() <= 75) continue;
        if (i == 0) {
            year = line.substr(10, 4);
            team = line.substr(15, 12);
            titles = line.substr(27);
        }
        const std::string kind = lowerAscii(line.substr(28, 2));
        if (kind == "ab" || kind == "nn" || !wanted[i]) continue;
        const std::string name = line.substr(9, 18);
        entries.push_back({name, kTitleKey, " P " + titles});
        std::string counted = name;
        for (char& c : counted)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        while (!counted.empty() && (counted.back() == ' ' || counted.back() == '\t'))
            counted.pop_back();
        const int n = ++met[counted];
        entries.push_back({name, year + " " + team + (n == 1 ? "" : " #" + std::to_string(n)) + "=",
                           line.substr(6, 2) + " " + line.substr(27)});
    }
    return entries;
}

// True when every entry's section and key read back as themselves; then each entry must
// read back as the last value written for it.
bool checkPlayerEntries(const std::string& path, const std::vector<Entry>& entries) {
    bool plain = true;
    for (const Entry& e : entries)
        plain = plain && sectionRoundTrips(e.section) && keyRoundTrips(e.key) &&
                (e.key == kTitleKey || !keysOverlap(e.key, kTitleKey));
    if (!plain) return false;
    ProfileFile archive(path);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        std::string last = e.value;
        for (std::size_t k = i + 1; k < entries.size(); ++k)
            if (sameSection(entries[k].section, e.section) && entries[k].key == e.key)
                last = entries[k].value;
        FUZZ_CHECK(archive.read(e.section, e.key, kDefault) == readBack(last),
                   "player entry " + shown(e.section) + " " + shown(e.key) + " " + shown(last) +
                       " in " + shown(fileBytes(path), 3000));
    }
    return true;
}

void checkPlayerArchive(const std::vector<std::string>& lines) {
    const std::string path = scratchFolder() + "/player.dat";
    std::filesystem::remove(path);
    std::vector<std::string> status;
    writeAllPlayers(path, lines, [&](const char* text) { status.emplace_back(text); });
    FUZZ_CHECK(status.size() == lines.size() + 2 && status.front() == "Starting write..." &&
                   status.back() == "Done!",
               "status texts");
    for (std::size_t i = 1; i + 1 < status.size(); ++i)
        FUZZ_CHECK(status[i] == "Writing data...", "status text " + status[i]);

    const std::vector<Entry> all = playerEntries(lines, std::vector<bool>(lines.size(), true));
    FUZZ_CHECK(std::filesystem::exists(path) == !all.empty(), "archive created for nothing");
    checkPlayerEntries(path, all);
    // Whatever the names and seasons hold, the second run finds every entry of the first.
    const std::string first = fileBytes(path);
    writeAllPlayers(path, lines, [](const char*) {});
    FUZZ_CHECK(fileBytes(path) == first, "writing the same team again changed player.dat");

    // Every other line checked, on a fresh archive: only those players are filed.
    std::filesystem::remove(path);
    std::vector<bool> checked(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) checked[i] = i % 2 == 0;
    writeCheckedPlayers(path, lines, checked, [](const char*) {});
    const std::vector<Entry> some = playerEntries(lines, checked);
    FUZZ_CHECK(std::filesystem::exists(path) == !some.empty(),
               "checked archive created for nothing");
    if (!checkPlayerEntries(path, some)) return;
    ProfileFile archive(path);
    for (const Entry& e : all) {
        bool filed = false;
        for (const Entry& s : some) filed = filed || sameSection(s.section, e.section);
        if (!filed && sectionRoundTrips(e.section))
            FUZZ_CHECK(archive.read(e.section, e.key, kDefault) == readBack(kDefault),
                       "unchecked player filed: " + shown(e.section));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input's length picks the section the editor would file the team under.
    static const std::string kSections[] = {"Untitled.dat", "/home/u/teams/27ALnya.dat",
                                            "/tmp/A Folder [2]/team=1.ser",
                                            "\t/home/u/Jos\xe9.dat\f"};
    const std::string& section = kSections[size % std::size(kSections)];
    const std::vector<std::string> lines =
        splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        checkTeamArchive(lines, section);
        checkPlayerArchive(lines);
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "the archive writers failed", e.what());
    }
    return 0;
}
