#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace rostrix {

// File names are the file system's own bytes in logic code and QStrings in widgets.
inline QString fileNameText(const std::string& path) {
    return QFile::decodeName(path.c_str());
}
inline std::string fileNameBytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

}  // namespace rostrix
