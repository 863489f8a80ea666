// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace rostrix::test {

// Whether a process still runs: a zombie waiting for its parent does not.
inline bool stillRunning(std::string pid) {
    pid.erase(pid.find_last_not_of("\n") + 1);
    std::ifstream stat("/proc/" + pid + "/stat");
    const std::string all((std::istreambuf_iterator<char>(stat)), {});
    const auto close = all.rfind(") ");
    return close != std::string::npos && all[close + 2] != 'Z';
}

// Waits up to five seconds for a killed process to finish dying, as it may take a moment on
// a loaded machine; true when it has.
inline bool endsSoon(const std::string& pid) {
    for (int tries = 0; tries < 100 && stillRunning(pid); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !stillRunning(pid);
}

}  // namespace rostrix::test
