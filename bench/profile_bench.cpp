// One archive-style action on a large INI file (load, 56 writes into 28 sections, save),
// beside a plain read and write of the same file, for files of 5,000 to 80,000 sections.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "platform/LineFile.h"
#include "platform/ProfileFile.h"

namespace {

std::string sectionName(long i) {
    char name[32];
    std::snprintf(name, sizeof name, "Player, No %07ld", i);
    return name;
}

// n sections of two entries each, shaped like the player archive.
std::string makeFile(long n) {
    std::string out;
    for (long i = 0; i < n; ++i) {
        out.append("[").append(sectionName(i)).append("]\r\n");
        out += "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam\r\n";
        out += "2000 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63\r\n";
    }
    return out;
}

struct Fixture {
    QTemporaryDir dir;
    std::string path = dir.filePath("bench.ini").toStdString();
    std::string bytes;
    explicit Fixture(long n) : bytes(makeFile(n)) { rostrix::writeFileAtomic(path, bytes); }
};

void BM_ProfileAction(benchmark::State& state) {
    const long n = state.range(0);
    Fixture fx(n);
    for (auto _ : state) {
        state.PauseTiming();
        rostrix::writeFileAtomic(fx.path, fx.bytes);
        state.ResumeTiming();
        rostrix::ProfileFile file(fx.path);
        for (long i = 0; i < 14; ++i) {
            const std::string existing = sectionName(i * (n / 14));
            file.write(existing, "2000 Oakland     =", "08 300  80  18   1   9  29  32  37 L");
            file.write(existing, "2001 Oakland     =", "08 258  70  18   1   9  29  32  37 L");
            const std::string fresh = sectionName(n + i);
            file.write(fresh, "Year Team        =", " P  AB Hit  2B  3B  HR  BB  SO RBI B");
            file.write(fresh, "2001 Oakland     =", "08 258  70  18   1   9  29  32  37 L");
        }
        if (!file.save()) state.SkipWithError("save failed");
    }
}

void BM_PlainCopy(benchmark::State& state) {
    Fixture fx(state.range(0));
    for (auto _ : state) {
        // The same set-up as the action, so both meet the same file system state.
        state.PauseTiming();
        rostrix::writeFileAtomic(fx.path, fx.bytes);
        state.ResumeTiming();
        const auto bytes = rostrix::readFileBytes(fx.path);
        if (!bytes || !rostrix::writeFileAtomic(fx.path, *bytes))
            state.SkipWithError("copy failed");
    }
}

BENCHMARK(BM_ProfileAction)->Arg(5000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Arg(5000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
