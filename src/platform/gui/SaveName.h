// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/gui/Dialogs.h"

namespace rostrix {

// The name after the last "/", and the folder before it ("/" for the root, "" for a bare
// name), as the save dialog shows them.
std::string fileNamePart(const std::string& path);
std::string folderPart(const std::string& path);

// The save dialog, until the user picks a name that is free, is ownFile (the file being
// saved over; "" when there is none), or may be replaced: a file that exists already is
// replaced only after "<name> already exists.  Replace it?" is answered Yes; No goes back
// to the dialog with the name just tried. Nothing when the dialog is dismissed.
std::optional<std::string> chooseSaveName(QWidget* owner, FileDialogSpec& dialog,
                                          const std::string& ownFile);

}  // namespace rostrix
