// SPDX-License-Identifier: GPL-3.0-or-later
// Packs 500 team files of the sample's size into a new package with our archive component
// and, in the same run, with `zip -9 -j -q`, and reports both times and sizes and their
// ratios (the package may take at most 1.2 times zip's time and 1.01 times its size).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "package/ZipArchive.h"
#include "platform/LineFile.h"
#include "support/core/TeamFileVariants.h"

extern char** environ;

namespace {

constexpr int kFiles = 500;

struct Files {
    std::string folder;
    std::vector<std::string> paths;
    // Best wall and processor times, in seconds: the processor time shows the work itself
    // when other programs share the machine.
    double bestOurs = std::numeric_limits<double>::max();
    double bestZip = std::numeric_limits<double>::max();
    double cpuOurs = std::numeric_limits<double>::max();
    double cpuZip = std::numeric_limits<double>::max();
    std::uintmax_t sizeOurs = 0, sizeZip = 0;
};

Files files;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

void removeOutside(benchmark::State& state, const std::string& path) {
    state.PauseTiming();
    std::filesystem::remove(path);
    state.ResumeTiming();
}

void BM_PackageAdd(benchmark::State& state) {
    const std::string archive = files.folder + "/ours.zip";
    rostrix::ZipArchive zip;
    zip.OnFailure = [&](const std::string& text) { state.SkipWithError(text.c_str()); };
    zip.Pump = [] {};
    zip.LoadZipLib();
    for (auto _ : state) {
        removeOutside(state, archive);
        const auto started = std::chrono::steady_clock::now();
        const double cpuStarted = processSeconds();
        zip.setZipFileName(archive);
        zip.FSpecArgs = files.paths;
        if (zip.Add() != kFiles) state.SkipWithError("not every file was added");
        files.cpuOurs = std::min(files.cpuOurs, processSeconds() - cpuStarted);
        files.bestOurs =
            std::min(files.bestOurs, seconds(std::chrono::steady_clock::now() - started));
    }
    files.sizeOurs = std::filesystem::file_size(archive);
    state.counters["bytes"] = static_cast<double>(files.sizeOurs);
}

// Runs zip and returns its exit code; cpu receives the processor time it used.
int runZip(const std::string& archive, double& cpu) {
    std::vector<std::string> args{"zip", "-9", "-j", "-q", archive};
    args.insert(args.end(), files.paths.begin(), files.paths.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "zip", nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
          1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ZipTool(benchmark::State& state) {
    const std::string archive = files.folder + "/zip.zip";
    for (auto _ : state) {
        removeOutside(state, archive);
        const auto started = std::chrono::steady_clock::now();
        double cpu = 0;
        if (runZip(archive, cpu) != 0) state.SkipWithError("zip failed");
        files.cpuZip = std::min(files.cpuZip, cpu);
        files.bestZip =
            std::min(files.bestZip, seconds(std::chrono::steady_clock::now() - started));
    }
    files.sizeZip = std::filesystem::file_size(archive);
    state.counters["bytes"] = static_cast<double>(files.sizeZip);
}

BENCHMARK(BM_PackageAdd)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZipTool)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir folder;
    files.folder = folder.path().toStdString();
    const auto sample = rostrix::readFileBytes(std::string(ROSTRIX_TEST_DATA) + "/sample-team.dat");
    if (!sample) {
        std::fprintf(stderr, "no sample team file\n");
        return 1;
    }
    std::filesystem::create_directory(files.folder + "/teams");
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/teams/%02dALt%03d.dat", i % 100, i);
        files.paths.push_back(files.folder + name);
        rostrix::writeFileAtomic(files.paths.back(),
                                 rostrix::test::teamFileVariant(*sample, static_cast<unsigned>(i)));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (files.sizeOurs == 0 || files.sizeZip == 0) return 0;  // one of them was filtered out
    const double timeRatio = files.bestOurs / files.bestZip;
    const double sizeRatio =
        static_cast<double>(files.sizeOurs) / static_cast<double>(files.sizeZip);
    std::printf("best: ours %.1f ms, zip %.1f ms, ours/zip %.2f (at most 1.20)\n",
                1000 * files.bestOurs, 1000 * files.bestZip, timeRatio);
    std::printf("processor time: ours %.1f ms, zip %.1f ms, ours/zip %.2f\n", 1000 * files.cpuOurs,
                1000 * files.cpuZip, files.cpuOurs / files.cpuZip);
    std::printf("size: ours %ju bytes, zip %ju bytes, ours/zip %.4f (at most 1.01)\n",
                files.sizeOurs, files.sizeZip, sizeRatio);
    return timeRatio <= 1.2 && sizeRatio <= 1.01 ? 0 : 2;
}
