// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SeasonPlan.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/LineFile.h"

namespace rostrix {

std::vector<SeasonClub> parseSeasonClubs(const std::string& listing) {
    std::vector<SeasonClub> clubs;
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string word;
        SeasonClub club;
        if (!(words >> word) || word != "club" || !(words >> club.file >> club.id >> club.league))
            continue;
        std::getline(words >> std::ws, club.name);
        clubs.push_back(club);
    }
    return clubs;
}

std::string seasonQuestion(int year, const std::vector<SeasonClub>& clubs,
                           const std::string& homeFolder) {
    std::vector<std::string> leagues;
    for (const SeasonClub& club : clubs)
        if (std::find(leagues.begin(), leagues.end(), club.league) == leagues.end())
            leagues.push_back(club.league);
    std::string in;
    for (std::size_t i = 0; i < leagues.size(); ++i)
        in += (i == 0 ? "" : i + 1 == leagues.size() ? " and " : ", ") + leagues[i];
    const std::string names =
        clubs.empty() ? std::string()
                      : " as " + clubs.front().file +
                            (clubs.size() == 1 ? std::string() : " to " + clubs.back().file);
    return std::to_string(year) + ": " + std::to_string(clubs.size()) +
           (clubs.size() == 1 ? " club in " : " clubs in ") + in + ". Build them into " +
           homeFolder + names + "?";
}

std::set<std::string> existingSeasonFiles(const std::string& homeFolder,
                                          const std::vector<SeasonClub>& clubs) {
    std::set<std::string> existing;
    std::error_code ec;
    for (const SeasonClub& club : clubs) {
        const std::string path = homeFolder + "/" + club.file;
        if (std::filesystem::exists(path, ec) && notAFileReason(path) == 0)
            existing.insert(club.file);
    }
    return existing;
}

std::map<std::string, std::string> refusedSeasonFiles(const std::string& homeFolder,
                                                      const std::vector<SeasonClub>& clubs) {
    std::map<std::string, std::string> refused;
    for (const SeasonClub& club : clubs) {
        const std::string path = homeFolder + "/" + club.file;
        if (const int why = notAFileReason(path))
            refused[club.file] = fileFailureText("Cannot create file %s", path, why);
    }
    return refused;
}

std::string existingFilesQuestion(const std::set<std::string>& existing, std::size_t clubs) {
    std::string names;
    std::size_t shown = 0;
    for (const std::string& file : existing) {
        if (++shown > 5) {
            names += ", ...";
            break;
        }
        names += (names.empty() ? "" : ", ") + file;
    }
    const std::size_t n = existing.size();
    return std::to_string(n) + " of the " + std::to_string(clubs) + " team files " +
           (n == 1 ? "is" : "are") + " already there (" + names +
           ").\nYes replaces them, No keeps them and builds the other " +
           std::to_string(clubs - n) + ", Cancel builds nothing.";
}

std::vector<SeasonClub> clubsToBuild(const std::vector<SeasonClub>& clubs,
                                     const std::set<std::string>& existing, ExistingFiles choice) {
    std::vector<SeasonClub> build;
    if (choice == ExistingFiles::Cancel) return build;
    for (const SeasonClub& club : clubs)
        if (choice == ExistingFiles::Replace || !existing.count(club.file)) build.push_back(club);
    return build;
}

std::vector<std::string> seasonArguments(int year, const std::string& league,
                                         const std::string& type, bool list,
                                         const std::vector<SeasonClub>& only) {
    std::vector<std::string> args{"--season", std::to_string(year),
                                  league.empty() ? std::string("ALL") : league};
    if (!type.empty()) args.push_back(type);
    if (!only.empty()) {
        std::string ids;
        for (const SeasonClub& club : only) ids += (ids.empty() ? "" : ",") + club.id;
        args.insert(args.end(), {"--only", ids});
    }
    if (list) args.push_back("--list");
    return args;
}

}  // namespace rostrix
