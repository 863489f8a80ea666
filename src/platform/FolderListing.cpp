// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderListing.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <filesystem>

namespace rostrix {

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithExtension(const std::string& name, std::string_view extension) {
    if (extension.empty()) return true;
    if (name.size() <= extension.size()) return false;
    const std::size_t dot = name.size() - extension.size() - 1;
    if (name[dot] != '.') return false;
    for (std::size_t i = 0; i < extension.size(); ++i)
        if (lower(name[dot + 1 + i]) != lower(extension[i])) return false;
    return true;
}

}  // namespace

bool folderNameLess(std::string_view a, std::string_view b) {
    const auto byLower = [](char x, char y) {
        return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byLower)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byLower)) return false;
    return a < b;
}

std::vector<std::string> listFilesInFolder(const std::string& folder, std::string_view extension) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    if (folder.empty()) return names;  // a choice with no file-system path
    std::error_code ec;
    fs::directory_iterator it{fs::path(folder), ec};
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (endsWithExtension(name, extension)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return folderNameLess(a, b); });
    return names;
}

std::vector<std::string> listFolderEntries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    if (folder.empty()) return names;
    std::error_code ec;
    fs::directory_iterator it{fs::path(folder), ec};
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec) return {};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return folderNameLess(a, b); });
    return names;
}

std::string shownName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name)).toUtf8().toStdString();
}

std::string pathOnDisk(const std::string& shownPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (shownPath.empty() || fs::symlink_status(shownPath, ec).type() != fs::file_type::not_found)
        return shownPath;
    std::string path;
    std::size_t start = 0;
    if (shownPath.front() == '/') {
        path = "/";
        start = 1;
    }
    while (start <= shownPath.size()) {
        std::size_t end = shownPath.find('/', start);
        if (end == std::string::npos) end = shownPath.size();
        std::string part = shownPath.substr(start, end - start);
        const std::string folder = path.empty() ? std::string(".") : path;
        const std::string spelled = (path.empty() || path.back() == '/' ? path : path + "/") + part;
        if (!part.empty() && fs::symlink_status(spelled, ec).type() == fs::file_type::not_found) {
            std::vector<std::string> alike;
            for (const std::string& name : listFolderEntries(folder))
                if (shownName(name) == part) alike.push_back(name);
            if (alike.size() == 1) part = alike.front();
        }
        if (!path.empty() && path.back() != '/') path += '/';
        path += part;
        if (end == shownPath.size()) break;
        start = end + 1;
    }
    return path;
}

}  // namespace rostrix
