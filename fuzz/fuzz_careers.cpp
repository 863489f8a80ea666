// SPDX-License-Identifier: GPL-3.0-or-later
// The careers reader over arbitrary bytes taken for player.dat. Checks that
// - every career lists as many seasons as it has entries, each split into the columns of
//   its kind, with a problem named for every damaged one;
// - every season entry holds the value the program's own archive reads give for its
//   section and key (the archive's "key==value" lines or plain "key=value" ones);
// - totals leave out exactly the damaged entries, and leaders agree with them;
// - CSV export of every career has one row per season plus the header and the totals;
// - nothing throws.
#include <cstdint>
#include <exception>
#include <string>

#include "FuzzSupport.h"
#include "careers/CareerCsv.h"
#include "careers/CareerList.h"
#include "careers/CareerStats.h"
#include "platform/ProfileFile.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

// A "key==value" line read with the plain key gives "=value".
std::string afterSecondEquals(std::string value) {
    if (!value.starts_with('=')) return value;
    return readBack(std::string_view(value).substr(1));
}

std::size_t csvRows(const std::string& csv) {
    std::size_t rows = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        if (csv[i] == '"') quoted = !quoted;
        if (!quoted && csv[i] == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') ++rows;
    }
    return rows;
}

void check(const std::string& path) {
    const CareerArchive archive(path);
    const ProfileFile ini(path);
    const CareerLeaders leaders(archive);
    for (std::size_t i = 0; i < archive.careers().size(); ++i) {
        const CareerSummary& career = archive.careers()[i];
        const auto seasons = archive.seasons(i);
        FUZZ_CHECK(seasons.size() == career.seasons, shown(career.name));
        int damaged = 0;
        for (const auto& entry : seasons) {
            const std::size_t n = careerColumns(entry.role).size();
            FUZZ_CHECK(entry.role == career.role && entry.cells.size() == n &&
                           entry.problems.size() == n && entry.numbers.size() == n,
                       shown(career.name));
            FUZZ_CHECK(entry.damaged() == !entry.problemSummary().empty(), shown(career.name));
            damaged += entry.damaged() ? 1 : 0;
        }
        int leftOut = -1;
        const CareerLine totals = careerTotals(seasons, &leftOut);
        FUZZ_CHECK(leftOut == damaged, shown(career.name));
        FUZZ_CHECK(leaders.line(i).seasons == totals.seasons, shown(career.name));
        if (!seasons.empty())
            FUZZ_CHECK(csvRows(careerCsv(career.name, seasons)) == seasons.size() + 2,
                       shown(career.name));
        archive.forEachValue(i, [&](std::string_view key, std::string_view value) {
            const std::string k(key);
            const std::string asWritten = ini.read(career.name, k + "=", "\x01");
            const std::string plain = afterSecondEquals(ini.read(career.name, k, "\x01"));
            FUZZ_CHECK(value == asWritten || value == plain || value == readBack(plain),
                       shown(career.name) + " " + shown(key) + " " + shown(value) + " " +
                           shown(asWritten) + " " + shown(plain));
        });
    }
    CareerList list(archive.careers());
    list.sort(CareerList::Seasons, false);
    list.search("a");
    FUZZ_CHECK(list.shown().size() <= archive.careers().size(), "search grew the list");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = scratchFolder() + "/player.dat";
    writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        check(path);
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "the careers reader threw", e.what());
    }
    return 0;
}
