// SPDX-License-Identifier: GPL-3.0-or-later
// Builds one team with the bundled team builder from a database of the public history
// database's full size and shape (1871 to 2024: about 117,000 batting, 52,000 pitching,
// 158,000 fielding and 110,000 appearances rows, 23,000 people, 3,000 club seasons,
// written by the sample database's own generator). One team must take at most 0.3 s of
// CPU (counter "cpu_s"). Beside it, a plain "perl -ne" pass over the same files: the ratio
// of the two is the figure to watch, since it depends less on the machine and its load.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "ScriptRuns.h"

namespace {

namespace fs = std::filesystem;
using rostrix::bench::childCpuSeconds;
using rostrix::bench::quoted;

const fs::path kBuilder = fs::read_symlink("/proc/self/exe").parent_path() / "teambuilder";
const fs::path kHome = fs::temp_directory_path() / "rostrix-teambuilder-bench";
constexpr const char* kYear = "1950";

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// The database and a settings file that names it, made once; the club is the first
// American League club of a season in the middle of the files.
const std::string& team() {
    static const std::string code = [] {
        fs::remove_all(kHome);
        fs::create_directories(kHome / "db");
        run("perl " + quoted(kBuilder / "sample-db/make-sample-db.pl") + " --history --out " +
            quoted(kHome / "db") + " >/dev/null");
        std::ofstream(kHome / "qrdTeams.ini")
            << "[Directories]\r\nDatabase=" << (kHome / "db").string() << "\r\n";
        std::ifstream teams(kHome / "db/core/Teams.csv");
        const std::string start = std::string(kYear) + ",AL,";
        for (std::string row; std::getline(teams, row);)
            if (row.starts_with(start)) return row.substr(start.size(), 3);
        throw std::runtime_error("no American League club in " + std::string(kYear));
    }();
    return code;
}

void BM_BuildOneTeam(benchmark::State& state) {
    const std::string command = "cd " + quoted(kHome) + " && perl " +
                                quoted(kBuilder / "kalbrix8.pl") + " " + kYear + " " + team() +
                                " AL team.dat 1 >/dev/null";
    const std::string plainPass = "perl -ne 1 " + quoted(kHome / "db/core") + "/*.csv";
    double built = 0;
    double plain = 0;
    for (auto _ : state) {
        double before = childCpuSeconds();
        run(command);
        built += childCpuSeconds() - before;
        state.PauseTiming();
        before = childCpuSeconds();
        run(plainPass);
        plain += childCpuSeconds() - before;
        state.ResumeTiming();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["cpu_s"] = built / n;
    state.counters["perl_ne_cpu_s"] = plain / n;
    state.counters["ratio"] = plain > 0 ? built / plain : 0;
}

}  // namespace

BENCHMARK(BM_BuildOneTeam)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(kHome);
    return 0;
}
