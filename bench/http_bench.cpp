// Fetches a 256 MiB file from a local python3 http.server into a file with our client and,
// in the same run, with curl, and reports both throughputs and their ratio.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "update/HttpClient.h"

namespace {

constexpr long long kFileSize = 256LL << 20;

struct Site {
    std::string folder;
    int port = 0;
    pid_t server = -1;
    double bestOurs = 0, bestCurl = 0;  // MiB/s

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port) + "/big.bin"; }
};

Site site;

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

bool accepting(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

void writeBigFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<uint64_t> chunk(1 << 17);
    for (long long written = 0; written < kFileSize; written += 1 << 20) {
        for (auto& v : chunk) v = random();
        out.write(reinterpret_cast<const char*>(chunk.data()), 1 << 20);
    }
}

void startSite() {
    char pattern[] = "/tmp/http_bench.XXXXXX";
    site.folder = ::mkdtemp(pattern);
    writeBigFile(site.folder + "/big.bin");
    site.port = freePort();
    const std::string port = std::to_string(site.port);
    site.server = ::fork();
    if (site.server == 0) {
        std::freopen("/dev/null", "w", stderr);
        ::execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", "--directory",
                 site.folder.c_str(), port.c_str(), nullptr);
        std::_Exit(127);
    }
    for (int i = 0; i < 500 && !accepting(site.port); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void stopSite() {
    ::kill(site.server, SIGTERM);
    ::waitpid(site.server, nullptr, 0);
    std::filesystem::remove_all(site.folder);
}

double mibPerSecond(long long bytes, std::chrono::steady_clock::duration took) {
    return static_cast<double>(bytes) / (1 << 20) / std::chrono::duration<double>(took).count();
}

void BM_RostrixGet(benchmark::State& state) {
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
        site.bestOurs = std::max(site.bestOurs, mibPerSecond(http.bytesReceived(), took));
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
    state.counters["blocks"] = static_cast<double>(blocks) / state.iterations();
}

void BM_CurlGet(benchmark::State& state) {
    const std::string command = "curl -s -o " + site.folder + "/curl.bin " + site.url();
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError("curl failed");
        const auto took = std::chrono::steady_clock::now() - started;
        site.bestCurl = std::max(site.bestCurl, mibPerSecond(kFileSize, took));
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

BENCHMARK(BM_RostrixGet)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CurlGet)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    startSite();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    stopSite();
    if (site.bestOurs > 0 && site.bestCurl > 0)
        std::printf("best: ours %.0f MiB/s, curl %.0f MiB/s, ours/curl %.0f%%\n", site.bestOurs,
                    site.bestCurl, 100.0 * site.bestOurs / site.bestCurl);
    return 0;
}
