// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QPlainTextEdit;
class QWidget;

namespace rostrix {

struct EditActions {
    QAction* undo;
    QAction* cut;
    QAction* copy;
    QAction* paste;
};

// The editor's edit commands work on the focused text control of window: the pane, or a
// line edit (the filter's threshold) while it is being typed in; with the focus anywhere
// else they do nothing. Each is only offered when it would do something.
void wireEditCommands(QWidget* window, QPlainTextEdit* pane, const EditActions& actions);

}  // namespace rostrix
