// SPDX-License-Identifier: GPL-3.0-or-later
// ProfileFile over arbitrary bytes: load them, write keys drawn from the file and from the
// input, read them back before and after a save, and check that
// - a written value reads back as written (as any reader sees a stored value),
// - entries not written read as they did before, and lines that hold no entry survive in order,
// - the writes saved one by one give the same bytes as gathered and saved once,
// - writing the values already there changes nothing,
// - nothing but the program's own Error leaves the class.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

struct Names {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
};

// Section names and keys as they appear in the file, plus the ones the program uses.
Names namesIn(const std::string& file) {
    Names names{{"Settings", "Directories", "Untitled.dat", "Smith, John       ", "\tSmith, Jo\f"},
                {"Line 0", "Line 1", "Year Team        =", "Home", "Show Menus",
                 "[999 Oakland     =", ";999 Oakland     =", "\v2000 Oakland     ="}};
    for (const std::string& line : splitLines(file)) {
        const auto first = line.find_first_not_of(" \t\v\f");
        if (first == std::string::npos) continue;
        if (line[first] == '[') {
            const auto close = line.rfind(']');
            names.sections.push_back(line.substr(
                first + 1, close == std::string::npos || close < first ? std::string::npos
                                                                       : close - first - 1));
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            names.keys.push_back(line.substr(first, eq - first));
            names.keys.push_back(line.substr(first, eq - first + 1));  // keys ending in '='
        }
        if (names.sections.size() + names.keys.size() > 64) break;
    }
    return names;
}

std::string withoutLineBreaks(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n'; });
    return s;
}

struct Written {
    std::string section, key, value;
};

const char* const kDefault = "\x01 default";

// Names and keys that a read sees otherwise than they were written (blanks other than
// spaces at their ends, keys that begin like a header or a comment) are found again by
// the writes: writing them twice leaves the file as once did, and writes one by one give
// the bytes of the same writes gathered. Keys that could match each other's lines are left
// out, so each write has one line of its own: in one section, or anywhere for '[' keys,
// whose lines read back as headers that the section before takes as its own. (Where a
// header with '=' in it follows, a reread cannot tell it from such a line.)
void checkOddNames(const std::string& file, const std::vector<Written>& writes) {
    std::vector<Written> odd;
    for (const Written& w : writes) {
        if (sectionRoundTrips(w.section) && keyRoundTrips(w.key)) continue;
        if ((w.section + w.key).find_first_of("\r\n") != std::string::npos) continue;
        odd.push_back(w);
    }
    std::vector<Written> distinct;
    for (std::size_t i = 0; i < odd.size(); ++i) {
        bool clash = seenKey(odd[i].key).empty();
        // A '[' key's line reads back as a header, outside every section: such keys can
        // match each other's lines across sections too.
        const bool bracket = seenKey(odd[i].key).starts_with('[');
        for (std::size_t j = 0; j < odd.size() && !clash; ++j)
            clash = j != i &&
                    (sameSection(odd[i].section, odd[j].section) ||
                     (bracket && seenKey(odd[j].key).starts_with('['))) &&
                    keysOverlap(odd[i].key, odd[j].key);
        if (!clash) distinct.push_back(odd[i]);
    }
    if (distinct.empty()) return;
    const std::string gathered = scratchFolder() + "/odd.ini";
    const std::string single = scratchFolder() + "/odd-single.ini";
    writeBytes(gathered, file);
    writeBytes(single, file);
    std::string once;
    for (int round = 0; round < 2; ++round) {
        ProfileFile ini(gathered);
        for (const Written& w : distinct) ini.write(w.section, w.key, w.value);
        FUZZ_CHECK(ini.save(), "odd names save");
        const std::string now = readFileBytes(gathered).value_or("<missing>");
        if (round == 0) once = now;
        FUZZ_CHECK(now == once,
                   "odd names written twice " + shown(now, 2000) + " once " + shown(once, 2000));
    }
    for (const Written& w : distinct) ProfileFile(single).writeNow(w.section, w.key, w.value);
    FUZZ_CHECK(readFileBytes(single).value_or("<missing>") == once,
               "odd names one by one " + shown(readFileBytes(single).value_or(""), 2000) +
                   " gathered " + shown(once, 2000));
}

void run(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(1 << 16);
    const std::string path = scratchFolder() + "/fuzz.ini";
    writeBytes(path, file);

    const Names names = namesIn(file);
    const auto pick = [&](const std::vector<std::string>& pool) -> std::string {
        if (in.remaining_bytes() == 0) return pool.front();
        const auto n = in.ConsumeIntegralInRange<std::size_t>(0, pool.size());
        return n < pool.size() ? pool[n] : in.ConsumeRandomLengthString(40);
    };

    // Probes: every name pair the file suggests, read before anything is written.
    std::vector<Written> probes;
    for (const auto& s : names.sections)
        for (const auto& k : names.keys) probes.push_back({s, k, {}});
    ProfileFile ini(path);
    for (auto& p : probes) p.value = ini.read(p.section, p.key, kDefault);

    // The writes: from the input while it lasts, else one to each name the file holds.
    std::vector<Written> writes;
    if (in.remaining_bytes() == 0) {
        // The file's own sections come after the program's five.
        const std::size_t own = names.sections.size() - 5;
        for (std::size_t i = 0; i < names.keys.size() && i < 16; ++i)
            writes.push_back({names.sections[own > 0 ? 5 + i % own : i % 5], names.keys[i],
                              "written " + std::to_string(i)});
        writes.push_back({"New Section", "New Key", " v = 1 "});
    }
    while (in.remaining_bytes() > 0 && writes.size() < 32) {
        Written w;
        w.section = pick(names.sections);
        w.key = pick(names.keys);
        w.value = withoutLineBreaks(in.ConsumeRandomLengthString(100));
        writes.push_back(std::move(w));
    }

    // What must read back: the last write of each round-tripping name pair that no later
    // write of an overlapping key in the same section may have taken over.
    std::vector<Written> expected, applied;
    for (const Written& w : writes) {
        if (!sectionRoundTrips(w.section) || !keyRoundTrips(w.key)) continue;
        ini.write(w.section, w.key, w.value);
        applied.push_back(w);
        if (std::getenv("FUZZ_VERBOSE"))
            std::fprintf(stderr, "write %s %s %s\n", shown(w.section).c_str(), shown(w.key).c_str(),
                         shown(w.value).c_str());
        std::erase_if(expected, [&](const Written& e) {
            return sameSection(e.section, w.section) && keysOverlap(e.key, w.key);
        });
        expected.push_back(w);
        FUZZ_CHECK(ini.read(w.section, w.key, kDefault) == readBack(w.value),
                   "unsaved write " + shown(w.section) + " " + shown(w.key) + " " + shown(w.value));
    }
    FUZZ_CHECK(ini.save(), "save to " + path);
    const std::string saved = readFileBytes(path).value_or("<missing>");

    ProfileFile again(path);
    for (const Written& e : expected)
        FUZZ_CHECK(again.read(e.section, e.key, kDefault) == readBack(e.value),
                   "reloaded write " + shown(e.section) + " " + shown(e.key) + " " +
                       shown(e.value) + " read " + shown(again.read(e.section, e.key, kDefault)) +
                       " from " + shown(saved, 2000));
    for (const Written& p : probes) {
        bool touched = false;
        for (const Written& w : applied)
            touched = touched || (sameSection(p.section, w.section) && keysOverlap(p.key, w.key));
        if (touched) continue;
        FUZZ_CHECK(again.read(p.section, p.key, kDefault) == p.value,
                   "entry not written changed: " + shown(p.section) + " " + shown(p.key) + " was " +
                       shown(p.value) + " in " + shown(saved, 2000));
    }

    // Lines without an '=' hold no entry a write could replace: they all stay, in order.
    // (A byte-order mark is no line: the first line written may follow it.)
    const auto withoutBom = [](std::string_view s) {
        return s.starts_with("\xEF\xBB\xBF") ? s.substr(3) : s;
    };
    const std::vector<std::string> before = splitLines(withoutBom(file));
    const std::vector<std::string> after = splitLines(withoutBom(saved));
    std::size_t j = 0;
    for (const std::string& line : before) {
        if (line.find('=') != std::string::npos) continue;
        while (j < after.size() && after[j] != line) ++j;
        FUZZ_CHECK(j < after.size(), "line lost: " + shown(line) + " in " + shown(saved, 2000));
        ++j;
    }

    const std::string single = scratchFolder() + "/single.ini";
    writeBytes(single, file);
    for (const Written& w : applied) {
        try {
            ProfileFile(single).writeNow(w.section, w.key, w.value);
        } catch (const Error& e) {
            fail(__FILE__, __LINE__, "a write one by one failed", e.what());
        }
    }
    FUZZ_CHECK(readFileBytes(single).value_or("<missing>") == saved,
               "one by one " + shown(readFileBytes(single).value_or("<missing>"), 2000) +
                   " gathered " + shown(saved, 2000));

    // Writing what is already there is no change.
    for (const Written& e : expected) again.write(e.section, e.key, e.value);
    FUZZ_CHECK(again.save(), "second save");
    FUZZ_CHECK(readFileBytes(path).value_or("<missing>") == saved,
               "rewrite of the same values changed the file");

    checkOddNames(saved, writes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        run(data, size);
    } catch (const Error&) {
        // The program's own error type is the one way a failure may leave the class.
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "an exception other than Error left ProfileFile", e.what());
    }
    return 0;
}
