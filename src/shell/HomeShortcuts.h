// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CommandKey.h"

namespace rostrix {

// The main window's commands that have a key in both layouts, by button (or menu item,
// for a command without a button). F2 and F3 switch the layout and F1 opens the Help
// window. A key that a line edit takes for itself (Ctrl+A,
// Ctrl+Z, and under X11 Ctrl+D, Ctrl+E, Ctrl+K, Ctrl+U) would be lost while typing in the
// Team or File box, so none of those is used.
inline constexpr CommandKey kHomeCommandKeys[] = {
    {"Button3", "Ctrl+T"},         // Create Team
    {"Button4", "Ctrl+Shift+T"},   // Edit Team
    {"Button11", "Ctrl+Shift+S"},  // Create Season
    {"Button2", "Ctrl+N"},         // Names
    {"Button8", "Ctrl+M"},         // Make Zip
    {"Button12", "Ctrl+R"},        // Careers
    {"Button5", "Shift+F1"},       // About
    {"Exit1", "Ctrl+Q"},           // Exit, the desktop's quit key
};

}  // namespace rostrix
