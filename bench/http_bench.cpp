// SPDX-License-Identifier: GPL-3.0-or-later
// Fetches a 256 MiB file from a local python3 http.server into a file with our client and,
// in the same run, with curl, over plain HTTP and over HTTPS (the same server wrapped in
// TLS, with a certificate from a throwaway authority), and reports the throughputs, their
// ratios, and the peak memory of our process (the body goes to the file, so it must stay
// far below the file's size: 16 MiB or more fails the run).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "support/core/HttpServerProcess.h"
#include "support/core/ThrowawayCa.h"
#include "update/HttpClient.h"

namespace {

constexpr long long kFileSize = 256LL << 20;

struct Site {
    std::string folder;
    std::unique_ptr<rostrix::test::HttpServerProcess> server;
    double bestOurs = 0, bestCurl = 0;  // MiB/s
    double peakMiB = 0;                 // our process's peak resident size

    std::string url() const { return server->url("/big.bin"); }
};

Site site;
Site secureSite;  // the same file over HTTPS
std::string caFile;

void writeBigFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<uint64_t> chunk(1 << 17);
    for (long long written = 0; written < kFileSize; written += 1 << 20) {
        for (auto& v : chunk) v = random();
        out.write(reinterpret_cast<const char*>(chunk.data()), 1 << 20);
    }
}

constexpr long long kPeakLimitMiB = 16;

// The largest resident size this process has had so far, in MiB.
void rostrixGet(benchmark::State& state, Site& site) {
    rostrix::THttpClient http;
    http.InputFileMode = true;
    http.Body = site.folder + "/ours.bin";
    long long blocks = 0;
    http.OnPacketRecvd = [&] { ++blocks; };
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        http.Get(site.url());
        const auto took = std::chrono::steady_clock::now() - started;
        if (http.bytesReceived() != kFileSize) state.SkipWithError("short transfer");
        site.bestOurs =
            std::max(site.bestOurs, rostrix::bench::mibPerSecond(http.bytesReceived(), took));
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
    state.counters["blocks"] = static_cast<double>(blocks) / state.iterations();
    site.peakMiB = static_cast<double>(rostrix::bench::peakResidentKiB()) / 1024;
    state.counters["peak_MiB"] = site.peakMiB;
    if (site.peakMiB >= kPeakLimitMiB) state.SkipWithError("peak memory of 16 MiB or more");
}

void curlGet(benchmark::State& state, Site& site, const std::string& options) {
    const std::string command =
        "curl -s " + options + "-o " + site.folder + "/curl.bin " + site.url();
    for (auto _ : state) {
        const auto took = rostrix::bench::timeCommand(command);
        if (!took) {
            state.SkipWithError("curl failed");
            break;
        }
        site.bestCurl = std::max(site.bestCurl, rostrix::bench::mibPerSecond(kFileSize, *took));
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_RostrixGet(benchmark::State& state) {
    rostrixGet(state, site);
}
void BM_CurlGet(benchmark::State& state) {
    curlGet(state, site, "");
}
void BM_RostrixGetHttps(benchmark::State& state) {
    rostrixGet(state, secureSite);
}
void BM_CurlGetHttps(benchmark::State& state) {
    curlGet(state, secureSite, "--cacert " + caFile + " ");
}

BENCHMARK(BM_RostrixGet)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CurlGet)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RostrixGetHttps)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CurlGetHttps)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The aim beside each ratio: at least curl's speed in clear, 1.1 times it over TLS.
void report(const char* name, const Site& site, int aimPercent) {
    if (site.bestOurs > 0 && site.bestCurl > 0)
        std::printf("%s best: ours %.0f MiB/s, curl %.0f MiB/s, ours/curl %.0f%% (aim: %d%%)\n",
                    name, site.bestOurs, site.bestCurl, 100.0 * site.bestOurs / site.bestCurl,
                    aimPercent);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir folder;
    site.folder = folder.path().toStdString();
    writeBigFile(site.folder + "/big.bin");
    site.server = std::make_unique<rostrix::test::HttpServerProcess>(site.folder);
    // Our process trusts the authority through SSL_CERT_FILE; curl is told with --cacert.
    rostrix::test::ThrowawayCa ca;
    caFile = ca.caFile();
    secureSite.folder = site.folder;
    if (ca.ok())
        secureSite.server = std::make_unique<rostrix::test::HttpServerProcess>(
            site.folder, ca.issue({"localhost", "127.0.0.1"}));
    if (!site.server->running() || !secureSite.server || !secureSite.server->running()) {
        std::fprintf(stderr, "python3's http.server did not start\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    site.server.reset();
    secureSite.server.reset();
    report("http", site, 100);
    report("https", secureSite, 110);
    const double peakMiB = std::max(site.peakMiB, secureSite.peakMiB);
    std::printf("peak memory while downloading 256 MiB: %.1f MiB (must stay under %lld MiB)\n",
                peakMiB, kPeakLimitMiB);
    return peakMiB >= kPeakLimitMiB ? 1 : 0;
}
