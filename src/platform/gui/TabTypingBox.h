// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QPlainTextEdit;

namespace rostrix {

// In a multi-line box where Tab types a tab, Ctrl+Tab moves the focus on to the next
// control and Ctrl+Shift+Tab back; the box's tool tip says so.
void letCtrlTabLeave(QPlainTextEdit* box);

}  // namespace rostrix
