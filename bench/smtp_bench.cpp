// Builds the message body for a 64 MiB attachment (base64 in 60-character lines) with the
// mail client and, in the same run, encodes the same file with `base64 -w 60`; reports both
// throughputs, their ratio, and how much memory building the body took beside the
// attachment's size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "package/SmtpClient.h"

namespace {

constexpr long long kFileSize = 64LL << 20;

struct Run {
    std::string file;
    double bestOurs = 0, bestTool = 0;  // MiB/s
    long peakGrowthKiB = 0;             // over the resident size before the first build
};

Run run;

void writeBigFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<uint64_t> chunk(1 << 17);
    for (long long written = 0; written < kFileSize; written += 1 << 20) {
        for (auto& v : chunk) v = random();
        out.write(reinterpret_cast<const char*>(chunk.data()), 1 << 20);
    }
}

void BM_BuildBody(benchmark::State& state) {
    rostrix::TSmtpClient smtp;
    smtp.MailMessage.Body = {"Here is my team."};
    const std::string boundary = "====================54535abcdef====";
    const long before = rostrix::bench::peakResidentKiB();
    std::size_t size = 0;
    for (auto _ : state) {
        smtp.MailMessage.Attachments = {run.file};
        const auto started = std::chrono::steady_clock::now();
        const std::string body = smtp.assembleBody(boundary);
        const auto took = std::chrono::steady_clock::now() - started;
        size = body.size();
        benchmark::DoNotOptimize(body.data());
        run.bestOurs = std::max(run.bestOurs, rostrix::bench::mibPerSecond(kFileSize, took));
    }
    run.peakGrowthKiB = rostrix::bench::peakResidentKiB() - before;
    state.SetBytesProcessed(state.iterations() * kFileSize);
    state.counters["body_MiB"] = static_cast<double>(size) / (1 << 20);
    state.counters["peak_growth_MiB"] = static_cast<double>(run.peakGrowthKiB) / 1024;
}

void BM_Base64Tool(benchmark::State& state) {
    const std::string command = "base64 -w 60 " + run.file + " > /dev/null";
    for (auto _ : state) {
        const auto took = rostrix::bench::timeCommand(command);
        if (!took) {
            state.SkipWithError("base64 failed");
            break;
        }
        run.bestTool = std::max(run.bestTool, rostrix::bench::mibPerSecond(kFileSize, *took));
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

// Ours first, so the resident size it reaches is its own.
BENCHMARK(BM_BuildBody)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Base64Tool)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir folder;
    run.file = folder.path().toStdString() + "/team.zip";
    writeBigFile(run.file);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (run.bestOurs > 0 && run.bestTool > 0)
        std::printf("best: ours %.0f MiB/s, base64 -w 60 %.0f MiB/s, ours/base64 %.0f%%\n",
                    run.bestOurs, run.bestTool, 100.0 * run.bestOurs / run.bestTool);
    std::printf(
        "memory: peak resident growth %.1f MiB for a %lld MiB attachment (%.2fx); "
        "peak resident size of the whole run %.1f MiB\n",
        static_cast<double>(run.peakGrowthKiB) / 1024, kFileSize >> 20,
        static_cast<double>(run.peakGrowthKiB) * 1024 / static_cast<double>(kFileSize),
        static_cast<double>(rostrix::bench::peakResidentKiB()) / 1024);
    return 0;
}
