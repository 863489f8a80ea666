// "Write all" of the sample team into a player archive of 5,000 to 80,000 players, beside a
// plain read and write of the same file.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/LineFile.h"
#include "teamfile/PlayerArchive.h"

namespace {

std::vector<std::string> sampleTeam() {
    const auto file =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "tests/data/sample-team.dat";
    return rostrix::readLines(file.string()).value();
}

// n players, each with the title entry and one season, as earlier runs leave them.
std::string makeArchive(long n) {
    std::string out;
    char name[64];
    for (long i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "[Player, No %07ld]\r\n", i);
        out += name;
        out += "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P\r\n";
        out += "1999 Cleveland   ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n";
    }
    return out;
}

struct Fixture {
    QTemporaryDir dir;
    std::string path = dir.filePath("player.dat").toStdString();
    std::string bytes;
    explicit Fixture(long n) : bytes(makeArchive(n)) { rostrix::writeFileAtomic(path, bytes); }
};

void BM_WriteAllPlayers(benchmark::State& state) {
    Fixture fx(state.range(0));
    const auto team = sampleTeam();
    for (auto _ : state) {
        state.PauseTiming();
        rostrix::writeFileAtomic(fx.path, fx.bytes);
        state.ResumeTiming();
        rostrix::writeAllPlayers(fx.path, team, [](const char*) {});
    }
}

void BM_PlainCopy(benchmark::State& state) {
    Fixture fx(state.range(0));
    for (auto _ : state) {
        // The same set-up as the archive run, so both meet the same file system state.
        state.PauseTiming();
        rostrix::writeFileAtomic(fx.path, fx.bytes);
        state.ResumeTiming();
        const auto bytes = rostrix::readFileBytes(fx.path);
        if (!bytes || !rostrix::writeFileAtomic(fx.path, *bytes))
            state.SkipWithError("copy failed");
    }
}

BENCHMARK(BM_WriteAllPlayers)->Arg(5000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Arg(5000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
