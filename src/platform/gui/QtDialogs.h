// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/gui/Dialogs.h"

namespace rostrix {

// The real dialogs: QMessageBox, QFileDialog or our own FileChooser, QInputDialog,
// QDesktopServices.
class QtDialogs : public Dialogs {
public:
    int message(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                int buttons) override;
    std::optional<std::string> openFile(QWidget* owner, const FileDialogSpec& dialog) override;
    std::optional<std::string> saveFile(QWidget* owner, const FileDialogSpec& dialog) override;
    std::optional<std::string> browseForFolder(QWidget* owner, const QString& title) override;
    std::optional<QString> inputBox(QWidget* owner, const QString& title, const QString& prompt,
                                    const QString& value) override;
    std::optional<QString> passwordBox(QWidget* owner, const QString& title,
                                       const QString& prompt) override;
    bool openUrl(const QString& url) override;

protected:
    int runModal(QWidget* window) override;
};

}  // namespace rostrix
