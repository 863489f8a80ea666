// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A large archive-shaped INI file for the archive benchmarks: n player sections of a
// title entry and one season each, in a temporary folder, put back before every timed
// run so each run meets the same file.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "platform/LineFile.h"

namespace bench {

inline std::string sectionName(long i) {
    char name[32];
    std::snprintf(name, sizeof name, "Player, No %07ld", i);
    return name;
}

struct ArchiveFixture {
    QTemporaryDir dir;
    std::string path;
    std::string bytes;

    ArchiveFixture(const char* fileName, long n)
        : path(dir.filePath(QString::fromLatin1(fileName)).toStdString()) {
        for (long i = 0; i < n; ++i) {
            bytes.append("[").append(sectionName(i)).append("]\r\n");
            bytes += "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam\r\n";
            bytes += "1999 Cleveland   ==08 258  70  18   1   9  29  32  37 L   5  2  0  63\r\n";
        }
        rostrix::writeFileAtomic(path, bytes);
    }

    // Puts the file back outside the timing.
    void restore(benchmark::State& state) const {
        state.PauseTiming();
        rostrix::writeFileAtomic(path, bytes);
        state.ResumeTiming();
    }
};

// The yardstick: a plain read and whole-file write of the same file.
inline void plainCopy(benchmark::State& state, const char* fileName) {
    const ArchiveFixture fx(fileName, state.range(0));
    for (auto _ : state) {
        fx.restore(state);
        const auto bytes = rostrix::readFileBytes(fx.path);
        if (!bytes || !rostrix::writeFileAtomic(fx.path, *bytes))
            state.SkipWithError("copy failed");
    }
}

}  // namespace bench
