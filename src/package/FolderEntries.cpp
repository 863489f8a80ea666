#include "package/FolderEntries.h"

#include <algorithm>
#include <filesystem>

namespace rostrix {

namespace {

unsigned char lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool namesInOrder(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
        });
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
            return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
        });
    if (less || greater) return less;
    return a < b;
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return {};
        names.push_back(it->path().filename().string());
    }
    if (ec) return {};
    std::sort(names.begin(), names.end(), namesInOrder);
    return names;
}

}  // namespace rostrix
