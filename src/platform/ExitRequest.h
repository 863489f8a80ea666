// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

namespace rostrix {

// Whether the session, a terminal or kill has asked the program to end. Set from a signal
// handler; a long step (a script run, a transfer) looks at it and ends early, so that the
// windows can close.
bool exitRequested();
// Async-signal-safe: marks the request. clearExitRequest() takes it back.
void markExitRequested();
void clearExitRequest();

// A process group the program started that must not outlive it (a team-building script and
// whatever it runs): endProcessGroupNow() kills it at once, and is async-signal-safe, so
// a signal that ends the program ends the group first. 0 forgets it.
void setGroupToEnd(pid_t group);
void endProcessGroupNow();

}  // namespace rostrix
