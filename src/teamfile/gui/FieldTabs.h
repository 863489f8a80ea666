// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/TeamLayout.h"

class QPlainTextEdit;
class QTextBlock;

namespace rostrix {

// The role of the pane's line: title, section, batter or pitcher, by the section above it.
LineRole roleOfBlock(const QTextBlock& block);

// In a team file pane Tab never types a tab: it moves the cursor to the start of the next
// field of the line (to the end of the line past the last), Shift+Tab to the start of the
// field before. Ctrl+Tab and Ctrl+Shift+Tab leave the pane; its tool tip says so.
void moveByFields(QPlainTextEdit* pane);

}  // namespace rostrix
