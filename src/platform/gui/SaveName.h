// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/PathParts.h"
#include "platform/gui/Dialogs.h"

namespace rostrix {

// The save dialog, until the user picks a name that is free, is ownFile (the file being
// saved over; "" when there is none), or may be replaced: a file that exists already is
// replaced only after "<name> already exists.  Replace it?" is answered Yes; No goes back
// to the dialog with the name just tried. Nothing when the dialog is dismissed.
std::optional<std::string> chooseSaveName(QWidget* owner, FileDialogSpec& dialog,
                                          const std::string& ownFile);

}  // namespace rostrix
