// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <string>

#include "platform/FolderListing.h"

namespace rostrix {

// File names are the file system's own bytes in logic code and QStrings in widgets.
inline QString fileNameText(const std::string& path) {
    return QFile::decodeName(path.c_str());
}
inline std::string fileNameBytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

// A path a dialog handed over, as the file system spells it: a name that is not valid
// UTF-8 comes back from the desktop's dialog as it showed and is found again by its bytes.
inline std::string chosenPathBytes(const QString& chosen) {
    return pathOnDisk(fileNameBytes(chosen));
}

}  // namespace rostrix
