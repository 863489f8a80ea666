// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

namespace rostrix::bench {

// Throughput of bytes moved in the time took.
inline double mibPerSecond(long long bytes, std::chrono::steady_clock::duration took) {
    return static_cast<double>(bytes) / (1 << 20) / std::chrono::duration<double>(took).count();
}

// The most memory this process has held so far.
inline long peakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // in KiB
}

// Runs an outside tool through the shell; how long it took, or nothing when it failed.
inline std::optional<std::chrono::steady_clock::duration> timeCommand(const std::string& command) {
    const auto started = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return std::nullopt;
    return std::chrono::steady_clock::now() - started;
}

}  // namespace rostrix::bench
