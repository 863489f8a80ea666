// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QWidget;

namespace rostrix {

// What the program remembers of its windows from one run to the next lives in a state file
// in the desktop's place for such state (stateFolder()), never in qrdTeams.ini. A state
// file that cannot be read or written is no error: the windows then open as they are made.

// The window's size, place on the screen and maximised state are kept under name each time
// it is hidden, and given back each time it is shown when the state file holds a sound
// place on a screen the desktop has now.
void rememberPlace(QWidget* window, const char* name);

// Another value kept for the window called name ("" when there is none).
std::string rememberedValue(const char* name, const char* key);
void rememberValue(const char* name, const char* key, const std::string& value);

}  // namespace rostrix
