// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CommandKey.h"

namespace rostrix {

// The team file editor's commands and their keys. The edit commands share the text
// pane's own keys (they do the same thing); every other key is one the pane leaves alone.
inline constexpr CommandKey kEditorCommandKeys[] = {
    {"actionNewFile", "Ctrl+N"},       {"actionOpenFile", "Ctrl+O"},
    {"actionSaveFile", "Ctrl+S"},      {"actionSaveFileAs", "Ctrl+Shift+S"},
    {"EditUndo1", "Ctrl+Z"},           {"EditCut1", "Ctrl+X"},
    {"EditCopy1", "Ctrl+C"},           {"EditPaste1", "Ctrl+V"},
    {"actionApplyFilter", "Ctrl+L"},   {"actionTeamArchive", "Ctrl+T"},
    {"actionPlayerArchive", "Ctrl+P"}, {"actionCheckFile", "F7"},
    {"actionTableView", "F6"},
};

// Moving through the problems the check found.
inline constexpr const char* kNextProblemKey = "F8";
inline constexpr const char* kPreviousProblemKey = "Shift+F8";

}  // namespace rostrix
