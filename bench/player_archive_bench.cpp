// SPDX-License-Identifier: GPL-3.0-or-later
// "Write all" of the sample team into a player archive of 5,000 to 80,000 players, beside a
// plain read and write of the same file.
#include <filesystem>

#include "ArchiveFixture.h"
#include "teamfile/PlayerArchive.h"

namespace {

std::vector<std::string> sampleTeam() {
    const auto file =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "tests/data/sample-team.dat";
    return rostrix::readLines(file.string()).value();
}

void BM_WriteAllPlayers(benchmark::State& state) {
    const bench::ArchiveFixture fx("player.dat", state.range(0));
    const auto team = sampleTeam();
    bench::sideBySide(state, fx, [&] {
        rostrix::writeAllPlayers(fx.path, team, [](const char*) {});
        return true;
    });
}

BENCHMARK(BM_WriteAllPlayers)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(80000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
