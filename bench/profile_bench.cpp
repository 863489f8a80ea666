// SPDX-License-Identifier: GPL-3.0-or-later
// One archive-style action on a large INI file (load, 56 writes into 28 sections, save) and
// one team archive action (the sample team's 31 lines into a new section), each beside a
// plain read and write of the same file, for files of 5,000 to 80,000 sections.
#include <filesystem>

#include "ArchiveFixture.h"
#include "platform/ProfileFile.h"
#include "teamfile/TeamArchive.h"

namespace {

using bench::sectionName;

void BM_ProfileAction(benchmark::State& state) {
    const long n = state.range(0);
    const bench::ArchiveFixture fx("bench.ini", n);
    bench::sideBySide(state, fx, [&] {
        rostrix::ProfileFile file(fx.path);
        for (long i = 0; i < 14; ++i) {
            const std::string existing = sectionName(i * (n / 14));
            file.write(existing, "1999 Cleveland   =", "08 300  80  18   1   9  29  32  37 L");
            file.write(existing, "2000 Oakland     =", "08 258  70  18   1   9  29  32  37 L");
            const std::string fresh = sectionName(n + i);
            file.write(fresh, "Year Team        =", " P  AB Hit  2B  3B  HR  BB  SO RBI B");
            file.write(fresh, "2001 Oakland     =", "08 258  70  18   1   9  29  32  37 L");
        }
        return file.save();
    });
}

void BM_TeamArchive(benchmark::State& state) {
    const bench::ArchiveFixture fx("archive.dat", state.range(0));
    const auto file =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "tests/data/sample-team.dat";
    const auto team = rostrix::readLines(file.string()).value();
    bench::sideBySide(state, fx, [&] {
        rostrix::writeTeamArchive(fx.path, "/home/u/teams/2000Oakland.dat", team);
        return true;
    });
}

BENCHMARK(BM_ProfileAction)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(80000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TeamArchive)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(80000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
