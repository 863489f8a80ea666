// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;
class QPlainTextEdit;
class QWidget;

namespace rostrix {

class CursorPlaceLine;
class SpinEdit;

// The editor's roster filter, "Filter Out" kinds "When Less Than" threshold, on the pane.
// With no kind chosen nothing is read and nothing changes, and the line under the pane says
// what to choose. A starter's question names him below its own text. The pane changes only
// when the whole run succeeds, in one step that a single undo takes back, and the line
// under the pane then says how many players are left.
void applyRosterFilter(QWidget* window, QPlainTextEdit* pane, QComboBox* kinds, SpinEdit* threshold,
                       CursorPlaceLine* status);

}  // namespace rostrix
