// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A player archive shaped as "Write all" leaves it after many seasons of a league: one
// section per player with the title entry and one entry per season, batters and pitchers,
// now and then a season split between two teams. The same arguments give the same bytes.
#include <cstdio>
#include <random>
#include <string>

namespace bench {

inline std::string careerPlayerName(long i) {
    static const char* const syllables[] = {
        "ka", "lo", "mi", "ra", "te", "vo", "san", "del", "mar", "ben", "tor", "wil",
        "ha", "ne", "pi", "qu", "ro", "su", "ta", "ul", "va", "we", "xi", "yo",
        "ber", "cal", "dun", "fer", "gor", "hol", "jan", "kel", "lin", "mor", "nor", "pet",
        "ram", "sol", "tan", "ver", "bro", "cro", "dre", "fra", "gri", "kro", "pla", "sta"};
    static const char* const given[] = {"Al", "Bo", "Carl", "Dave", "Ed", "Finn", "Gus", "Hal",
                                        "Ike", "Jim", "Ken", "Lou", "Max", "Ned", "Otto", "Pete"};
    constexpr long n = sizeof syllables / sizeof *syllables;
    std::string surname = std::string(syllables[i % n]) + syllables[(i / n) % n] +
                          syllables[(i / n / n) % n];
    surname[0] = static_cast<char>(surname[0] - 'a' + 'A');
    std::string name = surname + ", " + given[(i / n / n / n + i) % 16];
    if (name.size() > 18) name.resize(18);
    return name;
}

inline std::string makeCareerArchive(long players, int seasons, unsigned seed = 1) {
    static const char* const teams[] = {"Oakland", "Fresno", "Thistleville", "Harbor City",
                                        "Red Hook", "Salt Flats", "Millbrook", "Cedar Rapids"};
    std::mt19937 random(seed);
    const auto pick = [&random](int low, int high) {
        return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
    };
    std::string out;
    out.reserve(static_cast<std::size_t>(players) * (seasons + 2) * 78);
    char line[160];
    for (long i = 0; i < players; ++i) {
        out.append("[").append(careerPlayerName(i)).append("]\r\n");
        out += "Year Team        == P  AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P "
               "Gam-P Gam-P\r\n";
        const bool pitcher = i % 5 < 2;
        const int start = pick(1950, 2010);
        const int team = pick(0, 7);
        for (int s = 0; s < seasons; ++s) {
            // Every seventh player spends his fourth season with two teams.
            const bool split = i % 7 == 0 && s == 4;
            const int year = start + s - (i % 7 == 0 && s > 4 ? 1 : 0);
            const int t = (team + s / 3 + (split ? 1 : 0)) % 8;
            int n = std::snprintf(line, sizeof line, "%4d %-12s==", year, teams[t]);
            if (pitcher) {
                const int inn = pick(20, 250);
                n += std::snprintf(line + n, sizeof line - n,
                                   "01 %3d %3d %3d %3d %3d %3d %3d %3d %c %3d %2d %2d %3d %3d",
                                   inn, inn * pick(80, 120) / 100, pick(5, 40), pick(0, 6),
                                   pick(2, 30), pick(10, 90), pick(20, 250), pick(200, 650),
                                   pick(0, 3) ? 'R' : 'L', pick(0, 22), pick(0, 18), pick(0, 40),
                                   pick(10, 70), pick(0, 35));
            } else {
                const int ab = pick(50, 650);
                const int hits = ab * pick(200, 330) / 1000;
                n += std::snprintf(line + n, sizeof line - n,
                                   "%02d %3d %3d %3d %3d %3d %3d %3d %3d %c %3d %2d %2d %3d %03d-%d",
                                   pick(2, 10), ab, hits, hits / 5, hits / 30, pick(0, 45),
                                   pick(5, 110), pick(20, 160), pick(5, 140),
                                   pick(0, 2) ? 'R' : 'L', pick(0, 25), pick(0, 60), pick(0, 20),
                                   pick(20, 162), pick(10, 150), pick(2, 9));
            }
            out.append(line, static_cast<std::size_t>(n)).append("\r\n");
        }
    }
    return out;
}

}  // namespace bench
