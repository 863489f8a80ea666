// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ExitRequest.h"

#include <csignal>

namespace rostrix {

namespace {

volatile std::sig_atomic_t g_exitRequested = 0;
volatile std::sig_atomic_t g_group = 0;

}  // namespace

bool exitRequested() {
    return g_exitRequested != 0;
}

void markExitRequested() {
    g_exitRequested = 1;
}

void clearExitRequest() {
    g_exitRequested = 0;
}

void setGroupToEnd(pid_t group) {
    g_group = static_cast<std::sig_atomic_t>(group);
}

void endProcessGroupNow() {
    const pid_t group = static_cast<pid_t>(g_group);
    if (group > 0) ::kill(-group, SIGKILL);
}

}  // namespace rostrix
