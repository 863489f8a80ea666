// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace rostrix {

// A command of a window and the key that runs it, in QKeySequence's portable text.
struct CommandKey {
    const char* command;  // the object name of the button or action
    const char* keys;
};

}  // namespace rostrix
