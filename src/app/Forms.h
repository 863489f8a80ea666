// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/gui/GlobalForms.h"

namespace rostrix {

// Creates the windows in their fixed order. Tests create them the same way.
void createForms();
// Destroys them in the reverse order and clears the globals.
void destroyForms();

// The program's life: what killed runs left in the home folder goes, the windows are
// made, the main window is shown (with a word on text an earlier run kept for recovery),
// and the event loop runs until the main window closes, by the user or for a signal.
void runProgram();

}  // namespace rostrix
