// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A large archive-shaped INI file for the archive benchmarks: n player sections of a
// title entry and one season each, in a temporary folder, put back before every timed
// run so each run meets the same file.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
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
        // Large blocks come from and go back to the system every time, so the peak memory
        // of one run is what that run held, not what the heap kept from an earlier one.
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        mallopt(M_TRIM_THRESHOLD, 128 * 1024);
        for (long i = 0; i < n; ++i) {
            bytes.append("[").append(sectionName(i)).append("]\r\n");
            bytes += "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam\r\n";
            bytes += "1999 Cleveland   ==08 258  70  18   1   9  29  32  37 L   5  2  0  63\r\n";
        }
        rostrix::writeFileAtomic(path, bytes);
    }

    // Puts the file back (outside the timing when the timer runs).
    void restore() const { rostrix::writeFileAtomic(path, bytes); }
    void restore(benchmark::State& state) const {
        state.PauseTiming();
        restore();
        state.ResumeTiming();
    }
};

// The yardstick: a plain read and whole-file write of the same file.
inline bool plainCopy(const std::string& path) {
    const auto bytes = rostrix::readFileBytes(path);
    return bytes && rostrix::writeFileAtomic(path, *bytes);
}

inline long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == field) {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return 0;
}

// Starts a new peak of resident memory (Linux: VmHWM drops to the current VmRSS).
inline void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

inline double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Runs action and a plain copy of the same file by turns, each on a freshly restored
// file, so that both meet the same machine load. The time shown is the action's; the
// counters give the copy's time beside it, their ratio (x_copy), the processor time per
// section of each and the action's peak memory over the file's size.
template <class Action>
void sideBySide(benchmark::State& state, const ArchiveFixture& fx, Action action) {
    using Clock = std::chrono::steady_clock;
    const double sections = static_cast<double>(state.range(0));
    double actionSeconds = 0, copySeconds = 0, cpuSeconds = 0, copyCpuSeconds = 0;
    long peakKiB = 0;
    for (auto _ : state) {
        fx.restore();
        const long before = statusKiB("VmRSS:");
        resetPeakMemory();
        const double cpu = processSeconds();
        const auto started = Clock::now();
        if (!action()) state.SkipWithError("action failed");
        const double took = std::chrono::duration<double>(Clock::now() - started).count();
        cpuSeconds += processSeconds() - cpu;
        peakKiB = std::max(peakKiB, statusKiB("VmHWM:") - before);
        state.SetIterationTime(took);
        actionSeconds += took;

        fx.restore();
        const double copyCpu = processSeconds();
        const auto copyStarted = Clock::now();
        if (!plainCopy(fx.path)) state.SkipWithError("copy failed");
        copySeconds += std::chrono::duration<double>(Clock::now() - copyStarted).count();
        copyCpuSeconds += processSeconds() - copyCpu;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["copy_ms"] = 1e3 * copySeconds / runs;
    state.counters["x_copy"] = actionSeconds / copySeconds;
    state.counters["cpu_ns_per_section"] = 1e9 * cpuSeconds / runs / sections;
    state.counters["copy_cpu_ns_per_section"] = 1e9 * copyCpuSeconds / runs / sections;
    state.counters["peak_x_file"] =
        1024.0 * static_cast<double>(peakKiB) / static_cast<double>(fx.bytes.size());
}

}  // namespace bench
