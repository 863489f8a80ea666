// The name pass and save over 2,000 team files of the sample team's size, as Fix Selected
// runs it, beside a plain read and whole-file write of the same files.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <vector>

#include "names/NamePass.h"
#include "platform/LineFile.h"

namespace {

constexpr int kFiles = 2000;

struct TeamFolder {
    QTemporaryDir dir;
    std::vector<std::string> paths;
    std::string bytes;

    TeamFolder() {
        const auto sample = std::filesystem::path(__FILE__).parent_path().parent_path() /
                            "tests/data/sample-team.dat";
        bytes = rostrix::readFileBytes(sample.string()).value();
        for (int i = 0; i < kFiles; ++i) {
            paths.push_back(dir.filePath(QStringLiteral("team%1.dat").arg(i)).toStdString());
            rostrix::writeFileAtomic(paths.back(), bytes);
        }
    }
};

// Each run meets the files as the last one left them: the pass is its own inverse, so
// the files alternate between plain and encoded, and every run does the same work.
void BM_NamePassAndSave(benchmark::State& state) {
    const TeamFolder folder;
    const rostrix::NamePass pass;
    for (auto _ : state) {
        for (const std::string& path : folder.paths)
            rostrix::passAndSave(pass, path, rostrix::readTeamFileLines(path));
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_PlainReadAndWrite(benchmark::State& state) {
    const TeamFolder folder;
    for (auto _ : state) {
        for (const std::string& path : folder.paths) {
            const auto bytes = rostrix::readFileBytes(path);
            if (!bytes || !rostrix::writeFileAtomic(path, *bytes))
                state.SkipWithError("copy failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

BENCHMARK(BM_NamePassAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadAndWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
