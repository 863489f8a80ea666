// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/LineFile.h"

namespace rostrix::test {

inline std::vector<std::string> sampleTeam() {
    return readLines(ROSTRIX_TEST_DATA "/sample-team.dat").value();
}

inline std::string dataFile(const std::string& name) {
    return readFileBytes(std::string(ROSTRIX_TEST_DATA "/") + name).value();
}

// Sets the modification time well into the past, so a rewrite cannot hide within the
// file system's time resolution.
inline std::filesystem::file_time_type agePast(const std::string& path) {
    namespace fs = std::filesystem;
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    return fs::last_write_time(path);
}

}  // namespace rostrix::test
