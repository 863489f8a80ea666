// SPDX-License-Identifier: GPL-3.0-or-later
// The name pass and save over 2,000 team files of the sample team's size, as Fix Selected
// runs it, against a plain read and whole-file write of the same files in the same run.
// Both are bound by the disk, whose speed drifts while other programs use it, so every
// iteration times both, in alternating order, and the ratio comes from the sums.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "names/NamePass.h"
#include "platform/LineFile.h"

namespace {

constexpr int kFiles = 2000;
using Clock = std::chrono::steady_clock;

struct TeamFolder {
    QTemporaryDir dir;
    std::vector<std::string> paths;

    TeamFolder() {
        const auto sample = std::filesystem::path(__FILE__).parent_path().parent_path() /
                            "tests/data/sample-team.dat";
        const std::string bytes = rostrix::readFileBytes(sample.string()).value();
        for (int i = 0; i < kFiles; ++i) {
            paths.push_back(dir.filePath(QStringLiteral("team%1.dat").arg(i)).toStdString());
            rostrix::writeFileAtomic(paths.back(), bytes);
        }
    }
};

// The pass is its own inverse, so the files alternate between plain and encoded and
// every run does the same work.
double passAndSaveAll(const TeamFolder& folder, const rostrix::NamePass& pass) {
    const auto start = Clock::now();
    for (const std::string& path : folder.paths)
        rostrix::passAndSave(pass, path, rostrix::readTeamFileLines(path));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double copyAll(const TeamFolder& folder, benchmark::State& state) {
    const auto start = Clock::now();
    for (const std::string& path : folder.paths) {
        const auto bytes = rostrix::readFileBytes(path);
        if (!bytes || !rostrix::writeFileAtomic(path, *bytes)) state.SkipWithError("copy failed");
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_NamePassAgainstPlainCopy(benchmark::State& state) {
    const TeamFolder folder;
    const rostrix::NamePass pass;
    double passSeconds = 0;
    double copySeconds = 0;
    bool passFirst = true;
    for (auto _ : state) {
        double thisPass = 0;
        if (passFirst) {
            thisPass = passAndSaveAll(folder, pass);
            copySeconds += copyAll(folder, state);
        } else {
            copySeconds += copyAll(folder, state);
            thisPass = passAndSaveAll(folder, pass);
        }
        passFirst = !passFirst;
        passSeconds += thisPass;
        state.SetIterationTime(thisPass);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["pass_s"] = passSeconds / n;
    state.counters["copy_s"] = copySeconds / n;
    state.counters["ratio"] = passSeconds / copySeconds;
    state.SetItemsProcessed(state.iterations() * kFiles);
}

BENCHMARK(BM_NamePassAgainstPlainCopy)
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
