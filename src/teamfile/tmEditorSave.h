// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "platform/gui/Dialogs.h"

class QPlainTextEdit;
class QWidget;

namespace rostrix {

// The bare name a text that was never saved goes by.
inline const std::string kUntitledTeamFile = "Untitled.dat";

// The editor's save flows: asking about unsaved changes, choosing a name to save under
// without replacing another file unasked, and writing the pane whole or not at all. It
// keeps the editor's file (currentFile), caption and modified flag up to date.
class EditorSaving {
public:
    EditorSaving(QWidget* window, QPlainTextEdit* pane, std::string& currentFile,
                 FileDialogSpec& saveDialog);

    // False when the user cancels. Yes writes a text that has a file at once; a text never
    // saved asks for its name first, and dismissing that dialog counts as Cancel.
    bool askToSave();
    // Save: over the text's own file, or Save As for a text never saved.
    void save();
    // Save As; false when the dialog was dismissed or nothing was written.
    bool saveAs();
    // False when the text holds a character a team file cannot hold and the user chose
    // not to save it with "?" in its place: then nothing is written.
    bool writePane(const std::string& path);
    // The text now belongs to path (file-system bytes) and is unchanged.
    void belongsTo(const std::string& path);
    // Told the path after Save or Save As wrote the text and cleared the modified flag.
    std::function<void(const std::string& path)> saved;

private:
    std::optional<std::string> chooseSaveName();

    QWidget* window_;
    QPlainTextEdit* pane_;
    std::string& currentFile_;
    FileDialogSpec& saveDialog_;
};

}  // namespace rostrix
