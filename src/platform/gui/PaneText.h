// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace rostrix {

// The pane's text as byte lines (Latin-1). A line end after the last line does not make
// an extra empty line, so an empty pane has no lines at all.
std::vector<std::string> paneLines(const QPlainTextEdit* pane);

// The first character of the pane that a Latin-1 team file cannot hold, and its line
// (counted from 1, as paneLines counts them).
struct UnsavableCharacter {
    int line = 0;
    QString character;  // one code point (two code units outside the basic plane)
};
std::optional<UnsavableCharacter> firstUnsavableCharacter(const QPlainTextEdit* pane);

// Loads the lines into the pane as a fresh text, each followed by a line end; the undo
// history starts again.
void setPaneLines(QPlainTextEdit* pane, const std::vector<std::string>& lines);

// Replaces the whole text with the lines as one edit, so a single undo brings the old
// text back.
void replacePaneLines(QPlainTextEdit* pane, const std::vector<std::string>& lines);

}  // namespace rostrix
