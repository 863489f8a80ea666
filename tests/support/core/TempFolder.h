// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "platform/LineFile.h"

namespace rostrix::test {

// A fresh temporary folder, removed at the end of the test. Optionally the process's
// current directory for the test's lifetime (restored afterwards).
class TempFolder {
public:
    explicit TempFolder(bool makeCurrent = false) {
        if (makeCurrent) {
            saved_ = std::filesystem::current_path();
            std::filesystem::current_path(path());
        }
    }
    ~TempFolder() {
        if (!saved_.empty()) std::filesystem::current_path(saved_);
        // Qt cannot see names that are not UTF-8, so it could not empty the folder.
        std::error_code ec;
        std::filesystem::remove_all(path(), ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return QFile::encodeName(dir_.path()).toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::FILE* f = std::fopen(file(name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string read(const std::string& name) const {
        return readFileBytes(file(name)).value_or("<missing>");
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

private:
    QTemporaryDir dir_;
    std::filesystem::path saved_;
};

}  // namespace rostrix::test
