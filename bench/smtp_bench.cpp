// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the message body for a 64 MiB attachment (base64 in 60-character lines) with the
// mail client and, in the same run, encodes the same file with `base64 -w 60`; reports both
// throughputs, their ratio, and how much memory building the body took beside the
// attachment's size. Then sends the same attachment over STARTTLS with a login to a
// loopback aiosmtpd, beside `curl --ssl-reqd` sending the same message to the same server,
// and reports both throughputs and the memory the whole send took.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
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
#include "support/core/ThrowawayCa.h"
#include "support/core/TlsMailServer.h"

namespace {

constexpr long long kFileSize = 64LL << 20;

struct Run {
    std::string file;
    double bestOurs = 0, bestTool = 0;  // MiB/s
    long peakGrowthKiB = 0;             // over the resident size before the first build
};

Run run;

// The STARTTLS comparison: its server, and what each side reached.
struct TlsRun {
    rostrix::test::ThrowawayCa* ca = nullptr;
    rostrix::test::TlsMailServer* server = nullptr;
    double bestOurs = 0, bestCurl = 0;  // MiB of attachment per second
    long peakGrowthKiB = 0;
    std::string message;  // the file curl uploads
};

TlsRun tls;

const char* const kLogin = "coach@club.example";
const char* const kPassword = "app-password";
const char* const kLibrary = "teams@library.example.org";

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM").
long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    return 0;
}

// Starts the peak resident size afresh at the current size, so a send is measured on its
// own after the body benchmark has already reached its peak.
void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The server keeps every message it accepts; the benchmark needs none of them.
void dropSavedMessages() {
    QDir folder(QString::fromStdString(tls.server->folder().path()));
    for (const QString& name : folder.entryList({"message-*"}, QDir::Files)) folder.remove(name);
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

void BM_StartTlsSend(benchmark::State& state) {
    rostrix::TSmtpClient smtp;
    smtp.Host = "localhost";
    smtp.Port = tls.server->port();
    smtp.Security = rostrix::MailSecurity::StartTls;
    smtp.Login = kLogin;
    smtp.socket().resolver = [](const std::string&) {
        return rostrix::systemResolve("127.0.0.1");
    };
    smtp.OnPassword = [](std::string& password) {
        password = kPassword;
        return true;
    };
    smtp.MailMessage.FromAddress = kLogin;
    smtp.MailMessage.Body = {"Here is my team."};
    resetPeakResident();
    const long before = statusKiB("VmRSS");
    for (auto _ : state) {
        smtp.MailMessage.ToAddress = {kLibrary};
        smtp.MailMessage.Attachments = {run.file};
        const auto started = std::chrono::steady_clock::now();
        try {
            smtp.Connect();
            smtp.SendMail();
            smtp.Disconnect();
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        const auto took = std::chrono::steady_clock::now() - started;
        tls.bestOurs = std::max(tls.bestOurs, rostrix::bench::mibPerSecond(kFileSize, took));
        state.PauseTiming();
        dropSavedMessages();
        state.ResumeTiming();
    }
    tls.peakGrowthKiB = statusKiB("VmHWM") - before;
    state.SetBytesProcessed(state.iterations() * kFileSize);
    state.counters["peak_growth_MiB"] = static_cast<double>(tls.peakGrowthKiB) / 1024;
}

void BM_StartTlsCurl(benchmark::State& state) {
    if (tls.message.empty()) {
        // The message our client sends, whole, for curl to upload as it stands.
        rostrix::TSmtpClient smtp;
        smtp.MailMessage.FromAddress = kLogin;
        smtp.MailMessage.ToAddress = {kLibrary};
        smtp.MailMessage.Body = {"Here is my team."};
        smtp.MailMessage.Attachments = {run.file};
        const std::string boundary = "====================54535abcdef====";
        tls.message = run.file + ".eml";
        std::ofstream(tls.message, std::ios::binary)
            << rostrix::headerBlock(rostrix::mailHeaderLines(smtp.MailMessage, smtp.SubType,
                                                             smtp.Charset, boundary))
            << smtp.assembleBody(boundary);
    }
    const std::string command =
        "curl -sS --ssl-reqd smtp://127.0.0.1:" + std::to_string(tls.server->port()) +
        " --cacert " + tls.ca->caFile() + " --mail-from " + kLogin + " --mail-rcpt " + kLibrary +
        " --upload-file " + tls.message + " --user " + kLogin + ":" + kPassword;
    for (auto _ : state) {
        const auto took = rostrix::bench::timeCommand(command);
        if (!took) {
            state.SkipWithError("curl failed");
            break;
        }
        tls.bestCurl = std::max(tls.bestCurl, rostrix::bench::mibPerSecond(kFileSize, *took));
        state.PauseTiming();
        dropSavedMessages();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

// Ours first, so the resident size it reaches is its own.
BENCHMARK(BM_BuildBody)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Base64Tool)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartTlsSend)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartTlsCurl)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir folder;
    run.file = folder.path().toStdString() + "/team.zip";
    writeBigFile(run.file);
    rostrix::test::ThrowawayCa ca;
    const auto certificate = ca.issue({"localhost", "127.0.0.1"});
    rostrix::test::TlsMailServer server("starttls", certificate, "PLAIN,LOGIN", kLogin, kPassword);
    if (!ca.ok() || !server.ready()) {
        std::fprintf(stderr, "no TLS mail server: the STARTTLS cases cannot run\n");
        return 1;
    }
    tls.ca = &ca;
    tls.server = &server;
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
    if (tls.bestOurs > 0 && tls.bestCurl > 0)
        std::printf("STARTTLS send: ours %.0f MiB/s, curl %.0f MiB/s, ours/curl %.0f%%\n",
                    tls.bestOurs, tls.bestCurl, 100.0 * tls.bestOurs / tls.bestCurl);
    std::printf("STARTTLS send memory: peak resident growth %.1f MiB for a %lld MiB attachment "
                "(%.2fx)\n",
                static_cast<double>(tls.peakGrowthKiB) / 1024, kFileSize >> 20,
                static_cast<double>(tls.peakGrowthKiB) * 1024 / static_cast<double>(kFileSize));
    return 0;
}
