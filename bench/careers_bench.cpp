// SPDX-License-Identifier: GPL-3.0-or-later
// The careers window's work on an archive of 100,000 players with 10 seasons each: reading
// and listing it, one search keystroke, and the leaders, beside a plain read of the same
// file. `careers_bench --write-archive=<path>` writes the archive for a look at the window.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstring>
#include <iostream>

#include "CareerArchiveGenerator.h"
#include "careers/CareerList.h"
#include "careers/CareerStats.h"
#include "platform/LineFile.h"

namespace {

constexpr long kPlayers = 100000;
constexpr int kSeasons = 10;

struct ArchiveFile {
    QTemporaryDir dir;
    std::string path = dir.filePath(QStringLiteral("player.dat")).toStdString();
    ArchiveFile() { rostrix::writeFileAtomic(path, bench::makeCareerArchive(kPlayers, kSeasons)); }
};

const ArchiveFile& archiveFile() {
    static const ArchiveFile file;
    return file;
}

void BM_PlainRead(benchmark::State& state) {
    const auto& file = archiveFile();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto read = rostrix::readFileBytes(file.path);
        bytes = read ? read->size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
}

// Reading and indexing alone, without sorting the list.
void BM_OpenArchive(benchmark::State& state) {
    const auto& file = archiveFile();
    for (auto _ : state) {
        const rostrix::CareerArchive archive(file.path);
        benchmark::DoNotOptimize(archive.careers().size());
    }
}

// What opening the window does before the list shows: read, index, sort by name.
void BM_OpenAndList(benchmark::State& state) {
    const auto& file = archiveFile();
    std::size_t careers = 0;
    for (auto _ : state) {
        const rostrix::CareerArchive archive(file.path);
        const rostrix::CareerList list(archive.careers());
        careers = list.shown().size();
        benchmark::DoNotOptimize(careers);
    }
    state.counters["careers"] = static_cast<double>(careers);
}

// One keystroke: each search starts afresh over every name (no narrowing of the last one),
// the slowest case.
void BM_SearchKeystroke(benchmark::State& state) {
    const rostrix::CareerArchive archive(archiveFile().path);
    rostrix::CareerList list(archive.careers());
    const char* const texts[] = {"ka", "lo", "e", "mar, j", "x"};
    std::size_t i = 0;
    for (auto _ : state) {
        list.search(texts[i++ % std::size(texts)]);
        benchmark::DoNotOptimize(list.shown().data());
    }
}

void BM_Leaders(benchmark::State& state) {
    const rostrix::CareerArchive archive(archiveFile().path);
    for (auto _ : state) {
        const rostrix::CareerLeaders leaders(archive);
        benchmark::DoNotOptimize(leaders.top(rostrix::CareerRole::Batter, 7, 0).size());
    }
}

void BM_OpenCareer(benchmark::State& state) {
    const rostrix::CareerArchive archive(archiveFile().path);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(archive.seasons(i++ % archive.careers().size()).size());
    }
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenArchive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Leaders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCareer)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    constexpr const char* kWrite = "--write-archive=";
    if (argc == 2 && std::strncmp(argv[1], kWrite, std::strlen(kWrite)) == 0) {
        const std::string path = argv[1] + std::strlen(kWrite);
        if (!rostrix::writeFileAtomic(path, bench::makeCareerArchive(kPlayers, kSeasons))) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
