// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace rostrix {

// The program's icon in every size it ships (16 to 256 pixels), compiled into the program
// so it needs no file beside the executable.
QIcon programIcon();

// Gives every window the program's icon (title bar, task bar, window switcher) and tells
// the desktop which menu entry the windows belong to.
void installProgramIcon();

}  // namespace rostrix
