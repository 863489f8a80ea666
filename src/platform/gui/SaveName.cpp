// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/SaveName.h"

#include <filesystem>

#include "platform/gui/FileNames.h"

namespace rostrix {

namespace {

// True when writing to path would replace a file other than ownFile, however either is
// spelled.
bool replacesAnotherFile(const std::string& path, const std::string& ownFile) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return false;
    if (ownFile.empty()) return true;
    return !std::filesystem::equivalent(path, ownFile, ec);
}

}  // namespace

std::optional<std::string> chooseSaveName(QWidget* owner, FileDialogSpec& dialog,
                                          const std::string& ownFile) {
    for (;;) {
        const auto chosen = dialogs().saveFile(owner, dialog);
        if (!chosen) return std::nullopt;
        const std::string& path = *chosen;
        if (!replacesAnotherFile(path, ownFile)) return path;
        const QString question =
            fileNameText(fileNamePart(path)) + QStringLiteral(" already exists.  Replace it?");
        if (dialogs().message(owner, QStringLiteral("Run QRD Warning"), question, MsgIcon::Warning,
                              Yes | No) == Yes)
            return path;
        dialog.fileName = fileNameText(path);
        dialog.initialDir = fileNameText(folderOf(path));
    }
}

}  // namespace rostrix
