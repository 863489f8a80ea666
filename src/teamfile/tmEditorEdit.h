// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

class QAction;
class QPlainTextEdit;
class QString;
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

// Asks an OK/Cancel warning about a line of the pane (0-based) with that line selected and
// in view, so the user sees what he is answering about; the cursor goes back afterwards.
// True for OK.
bool askWithLineInView(QWidget* window, QPlainTextEdit* pane, std::size_t line,
                       const QString& title, const QString& text);

}  // namespace rostrix
