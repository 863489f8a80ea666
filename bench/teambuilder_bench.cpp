// Builds one team with the bundled team builder from synthetic databases of a quarter, a
// half and the whole of the public history database's size (at full size about 110,000
// batting, 50,000 pitching and 155,000 fielding rows, written by the sample database's
// own generator). One team must take well under 3 seconds and the time must grow in
// step with the database.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kBuilder = fs::read_symlink("/proc/self/exe").parent_path() / "teambuilder";
constexpr int kFirstYear = 1871;

std::string quoted(const fs::path& p) {
    std::string q(1, '\'');
    q += p.string();
    q += '\'';
    return q;
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// A folder holding a database of the given number of seasons and a settings file that
// names it, made once per size.
struct Database {
    fs::path home;
    std::string year;
    std::string team;
};

std::map<int, Database> made;

const Database& database(int seasons) {
    auto found = made.find(seasons);
    if (found != made.end()) return found->second;
    Database db;
    db.home = fs::temp_directory_path() / ("rostrix-teambuilder-bench-" + std::to_string(seasons));
    fs::remove_all(db.home);
    fs::create_directories(db.home / "db");
    run("perl " + quoted(kBuilder / "sample-db/make-sample-db.pl") + " --out " +
        quoted(db.home / "db") + " --first-year " + std::to_string(kFirstYear) + " --seasons " +
        std::to_string(seasons) + " --clubs 10 >/dev/null");
    std::ofstream(db.home / "qrdTeams.ini")
        << "[Directories]\r\nDatabase=" << (db.home / "db").string() << "\r\n";
    // A club from the middle season, so the rows of the team lie inside the files.
    db.year = std::to_string(kFirstYear + seasons / 2);
    std::ifstream teams(db.home / "db/Teams.csv");
    for (std::string row; std::getline(teams, row);)
        if (row.starts_with(db.year + ",AL,")) {
            db.team = row.substr(db.year.size() + 4, 3);
            break;
        }
    return made.emplace(seasons, db).first->second;
}

void BM_BuildOneTeam(benchmark::State& state) {
    const Database& db = database(static_cast<int>(state.range(0)));
    const std::string command = "cd " + quoted(db.home) + " && perl " +
                                quoted(kBuilder / "kalbrix8.pl") + " " + db.year + " " + db.team +
                                " AL team.dat 1 >/dev/null";
    for (auto _ : state) run(command);
    state.SetComplexityN(state.range(0));
    state.counters["seasons"] = static_cast<double>(state.range(0));
}

}  // namespace

BENCHMARK(BM_BuildOneTeam)
    ->Arg(38)
    ->Arg(75)
    ->Arg(150)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime()
    ->Complexity(benchmark::oN);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [seasons, db] : made) fs::remove_all(db.home);
    return 0;
}
