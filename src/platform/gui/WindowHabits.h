// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace rostrix {

// What every window of the program does, installed once for the whole application: it fits
// the screen it opens on each time it is shown (fitToScreen), and F1 in it opens the Help
// window at its topic.
void installWindowHabits();

}  // namespace rostrix
