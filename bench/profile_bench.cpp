// SPDX-License-Identifier: GPL-3.0-or-later
// One archive-style action on a large INI file (load, 56 writes into 28 sections, save),
// beside a plain read and write of the same file, for files of 5,000 to 80,000 sections.
#include "ArchiveFixture.h"
#include "platform/ProfileFile.h"

namespace {

using bench::sectionName;

void BM_ProfileAction(benchmark::State& state) {
    const long n = state.range(0);
    const bench::ArchiveFixture fx("bench.ini", n);
    for (auto _ : state) {
        fx.restore(state);
        rostrix::ProfileFile file(fx.path);
        for (long i = 0; i < 14; ++i) {
            const std::string existing = sectionName(i * (n / 14));
            file.write(existing, "1999 Cleveland   =", "08 300  80  18   1   9  29  32  37 L");
            file.write(existing, "2000 Oakland     =", "08 258  70  18   1   9  29  32  37 L");
            const std::string fresh = sectionName(n + i);
            file.write(fresh, "Year Team        =", " P  AB Hit  2B  3B  HR  BB  SO RBI B");
            file.write(fresh, "2001 Oakland     =", "08 258  70  18   1   9  29  32  37 L");
        }
        if (!file.save()) state.SkipWithError("save failed");
    }
}

void BM_PlainCopy(benchmark::State& state) {
    bench::plainCopy(state, "bench.ini");
}

BENCHMARK(BM_ProfileAction)->Arg(5000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Arg(5000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
