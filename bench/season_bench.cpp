// SPDX-License-Identifier: GPL-3.0-or-later
// All 30 clubs of 2001 from a database of the public one's full size (written by the
// sample database's own generator): one season run of the bundled builder against 30
// runs for one club each. The season run must take at most a quarter of the CPU time of
// the single runs (counter "ratio"), and Create Season's whole work, club list to checked
// files, at most 3 s of wall time on a 2-core machine ("command_wall_s").
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "ScriptRuns.h"
#include "shell/SeasonRun.h"

namespace {

namespace fs = std::filesystem;
using rostrix::bench::childCpuSeconds;
using rostrix::bench::quoted;

const fs::path kBuilder = fs::read_symlink("/proc/self/exe").parent_path() / "teambuilder";
const fs::path kHome = fs::temp_directory_path() / "rostrix-season-bench";

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("failed: " + command);
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    if (::pclose(pipe) != 0) throw std::runtime_error("failed: " + command);
    return out;
}

// The database, a settings file that names it, and the clubs of 2001, made once.
const std::vector<rostrix::SeasonClub>& clubs() {
    static const auto list = [] {
        fs::remove_all(kHome);
        fs::create_directories(kHome / "db");
        run("perl " + quoted(kBuilder / "sample-db/make-sample-db.pl") + " --history --out " +
            quoted(kHome / "db") + " >/dev/null");
        std::ofstream(kHome / "qrdTeams.ini")
            << "[Directories]\r\nDatabase=" << (kHome / "db").string() << "\r\n";
        return rostrix::parseSeasonClubs(run("cd " + quoted(kHome) + " && perl " +
                                             quoted(kBuilder / "kalbrix8.pl") +
                                             " --season 2001 ALL --list"));
    }();
    return list;
}

void BM_SeasonAgainstSingleRuns(benchmark::State& state) {
    if (clubs().size() != 30) throw std::runtime_error("2001 does not have 30 clubs");
    double season = 0, singles = 0, wall = 0;
    for (auto _ : state) {
        double before = childCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        run("cd " + quoted(kHome) + " && perl " + quoted(kBuilder / "kalbrix8.pl") +
            " --season 2001 ALL --list >/dev/null");
        const rostrix::SeasonOutcome out = rostrix::runSeason(
            {kHome.string(), kBuilder.string(), false, 2001, "", "", clubs()}, {});
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        season += childCpuSeconds() - before;
        for (const auto& r : out.clubs)
            if (r.outcome != rostrix::ClubOutcome::Built) throw std::runtime_error(r.club.file);
        state.PauseTiming();
        before = childCpuSeconds();
        for (const auto& club : clubs())
            run("cd " + quoted(kHome) + " && perl " + quoted(kBuilder / "kalbrix8.pl") + " 2001 " +
                club.id + " " + club.league + " single.dat >/dev/null");
        singles += childCpuSeconds() - before;
        state.ResumeTiming();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["season_cpu_s"] = season / n;
    state.counters["singles_cpu_s"] = singles / n;
    state.counters["ratio"] = singles > 0 ? season / singles : 0;
    state.counters["command_wall_s"] = wall / n;
}

}  // namespace

BENCHMARK(BM_SeasonAgainstSingleRuns)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(kHome);
    return 0;
}
