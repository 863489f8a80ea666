// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPlainTextEdit;

namespace rostrix {

// In a multi-line box where Tab types a tab, Ctrl+Tab moves the focus on to the next
// control and Ctrl+Shift+Tab back; the box's tool tip says so (hint, when the box gives
// Tab a use of its own).
void letCtrlTabLeave(QPlainTextEdit* box, const QString& hint = {});

}  // namespace rostrix
