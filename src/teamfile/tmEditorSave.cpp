#include "teamfile/tmEditorSave.h"

#include <QPlainTextEdit>
#include <filesystem>

#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/PaneText.h"

namespace rostrix {

namespace {

const QString kWarningTitle = QStringLiteral("Run QRD Warning");

std::string fileNamePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderPart(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

// True when writing to path would replace a file other than current (the text's own
// file, empty for a text never saved), however either is spelled.
bool replacesAnotherFile(const std::string& path, const std::string& current) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return false;
    if (current.empty()) return true;
    return !std::filesystem::equivalent(path, current, ec);
}

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
    if (!writeLinesAtomic(path, paneLines(pane_)))
        throw Error(formatText("Cannot create file %s", path));
    return true;
}

bool EditorSaving::askToSave() {
    if (!pane_->document()->isModified()) return true;
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
    if (writePane(currentFile_)) pane_->document()->setModified(false);
}

bool EditorSaving::saveAs() {
    const auto chosen = chooseSaveName();
    if (!chosen) return false;
    if (!writePane(*chosen)) return false;
    belongsTo(*chosen);
    return true;
}

// The save dialog, until the user picks a name that is free, is the text's own file, or
// may be replaced. Nothing when the dialog is dismissed.
std::optional<std::string> EditorSaving::chooseSaveName() {
    saveDialog_.fileName = fileNameText(currentFile_);
    saveDialog_.initialDir = fileNameText(folderPart(currentFile_));
    for (;;) {
        const auto chosen = dialogs().saveFile(window_, saveDialog_);
        if (!chosen) return std::nullopt;
        const std::string path = fileNameBytes(*chosen);
        if (!replacesAnotherFile(path,
                                 currentFile_ == kUntitledTeamFile ? std::string() : currentFile_))
            return path;
        const QString question =
            fileNameText(fileNamePart(path)) + QStringLiteral(" already exists.  Replace it?");
        if (dialogs().message(window_, kWarningTitle, question, MsgIcon::Warning, Yes | No) == Yes)
            return path;
        // No: back to the dialog, with the name just tried.
        saveDialog_.fileName = *chosen;
        saveDialog_.initialDir = fileNameText(folderPart(path));
    }
}

}  // namespace rostrix
