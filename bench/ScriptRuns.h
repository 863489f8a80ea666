// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the team builder benchmarks share: shell quoting of a path and the processor time
// that the finished child processes (the perl runs) have used.
#include <sys/resource.h>

#include <filesystem>
#include <string>

namespace rostrix::bench {

inline std::string quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

// CPU seconds (user and system) that the finished child processes have used so far.
inline double childCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace rostrix::bench
