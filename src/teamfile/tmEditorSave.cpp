// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/tmEditorSave.h"

#include <QPlainTextEdit>
#include <cstdio>

#include "platform/Error.h"
#include "platform/ExitRequest.h"
#include "platform/LineFile.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/PaneText.h"
#include "platform/gui/SaveName.h"
#include "settings/HomeFolder.h"
#include "teamfile/TeamRecovery.h"

namespace rostrix {

namespace {

const QString kWarningTitle = QStringLiteral("Run QRD Warning");

}  // namespace

EditorSaving::EditorSaving(QWidget* window, QPlainTextEdit* pane, std::string& currentFile,
                           FileDialogSpec& saveDialog)
    : window_(window), pane_(pane), currentFile_(currentFile), saveDialog_(saveDialog) {}

void EditorSaving::belongsTo(const std::string& path) {
    currentFile_ = path;
    window_->setWindowTitle(QStringLiteral("Rostrix - ") + fileNameText(fileNamePart(path)));
    pane_->document()->setModified(false);
}

bool EditorSaving::writePane(const std::string& path) {
    if (const auto odd = firstUnsavableCharacter(pane_)) {
        const QString code =
            QString::number(odd->character.toUcs4().value(0), 16).toUpper().rightJustified(4, '0');
        const QString text = QStringLiteral(
                                 "Line %1 holds %2 (U+%3), a character a team file cannot hold.\n"
                                 "Save with \"?\" in place of every such character?")
                                 .arg(QString::number(odd->line), odd->character, code);
        if (dialogs().message(window_, QString::fromLatin1(kAppTitle), text, MsgIcon::Question,
                              Yes | No) != Yes)
            return false;
    }
    if (int why = 0; !writeLinesAtomic(path, paneLines(pane_), &why))
        throw Error(fileFailureText("Cannot create file %s", path, why));
    return true;
}

bool EditorSaving::askToSave() {
    if (!pane_->document()->isModified()) return true;
    // Made to end with nobody to ask (a log-out): the text goes to a file of its own in the
    // home folder, never over the team file, and the next start says where it is.
    if (exitRequested()) {
        int why = 0;
        if (writeRecoveryFile(homeFolder(), currentFile_, paneLines(pane_), &why).empty())
            std::fprintf(
                stderr, "%s: %s\n", kAppTitle,
                fileFailureText("The unsaved text of %s could not be kept", currentFile_, why)
                    .c_str());
        return true;
    }
    const QString text =
        fileNameText(fileNamePart(currentFile_)) + QStringLiteral(" has changed.  Save Changes?");
    const int answer =
        dialogs().message(window_, kWarningTitle, text, MsgIcon::Warning, Yes | No | Cancel);
    if (answer == Cancel) return false;
    if (answer != Yes) return true;
    if (currentFile_ == kUntitledTeamFile) return saveAs();
    // Declining to save a character the file cannot hold keeps the text, like Cancel.
    return writePane(currentFile_);
}

void EditorSaving::save() {
    if (currentFile_ == kUntitledTeamFile) {
        saveAs();
        return;
    }
    if (!writePane(currentFile_)) return;
    pane_->document()->setModified(false);
    if (saved) saved(currentFile_);
}

bool EditorSaving::saveAs() {
    const auto chosen = chooseSaveName();
    if (!chosen) return false;
    if (!writePane(*chosen)) return false;
    belongsTo(*chosen);
    if (saved) saved(currentFile_);
    return true;
}

// The save dialog, until the user picks a name that is free, is the text's own file, or
// may be replaced. Nothing when the dialog is dismissed.
std::optional<std::string> EditorSaving::chooseSaveName() {
    saveDialog_.fileName = fileNameText(currentFile_);
    saveDialog_.initialDir = fileNameText(folderOf(currentFile_));
    return rostrix::chooseSaveName(
        window_, saveDialog_, currentFile_ == kUntitledTeamFile ? std::string() : currentFile_);
}

}  // namespace rostrix
