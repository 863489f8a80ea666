// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <span>

#include "platform/CommandKey.h"

class QAction;
class QWidget;

namespace rostrix {

// Gives action its key and teaches the key in its tool tip, "Edit Team (Ctrl+Shift+T)";
// a button that runs the same command (may be null) shows the same tool tip. A tool tip
// that already names the key is left as it is.
void setCommandKey(QAction* action, const QString& keys, QWidget* button = nullptr);

// The keys a window's table gives command (a button's or action's object name), else null.
const char* commandKeyOf(std::span<const CommandKey> keys, const QString& command);

}  // namespace rostrix
