// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChooserFolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/FolderListing.h"

namespace rostrix {

namespace fs = std::filesystem;

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// path with "." and ".." parts followed and doubled slashes gone; stays absolute.
std::string tidied(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

bool hasSuffix(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.find('.', 1) != std::string::npos;
}

}  // namespace

std::string pathIn(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // Iterative matching with one backtrack point: linear enough for file names.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> filterPatterns(std::string_view patterns) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < patterns.size()) {
        std::size_t end = patterns.find_first_of("; ", start);
        if (end == std::string_view::npos) end = patterns.size();
        if (end > start) out.emplace_back(patterns.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::vector<ChooserEntry> chooserEntries(const std::string& folder,
                                         const std::vector<std::string>& patterns, bool showHidden,
                                         bool foldersOnly) {
    std::vector<ChooserEntry> folders, files;
    std::error_code ec;
    fs::directory_iterator it{fs::path(folder), ec};
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!showHidden && name.front() == '.') continue;
        // stat follows links: a link to a folder is a folder to go into.
        struct stat st {};
        if (::stat(pathIn(folder, name).c_str(), &st) != 0) continue;
        ChooserEntry entry{std::move(name), S_ISDIR(st.st_mode),
                           static_cast<std::uintmax_t>(st.st_size),
                           static_cast<std::int64_t>(st.st_mtime)};
        if (entry.folder) {
            folders.push_back(std::move(entry));
        } else if (!foldersOnly && S_ISREG(st.st_mode)) {
            const bool wanted =
                patterns.empty() ||
                std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
                    return matchesPattern(entry.name, pattern);
                });
            if (wanted) files.push_back(std::move(entry));
        }
    }
    const auto byName = [](const ChooserEntry& a, const ChooserEntry& b) {
        return folderNameLess(a.name, b.name);
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    folders.insert(folders.end(), std::make_move_iterator(files.begin()),
                   std::make_move_iterator(files.end()));
    return folders;
}

std::string parentFolder(const std::string& folder) {
    const std::string tidy = tidied(folder);
    const auto slash = tidy.rfind('/');
    return slash == 0 ? "/" : tidy.substr(0, slash);
}

ChooserTarget resolveTyped(const std::string& folder, const std::string& typed,
                           const std::string& home, std::string_view defaultSuffix) {
    if (typed.find_first_of("*?") != std::string::npos) return {ChooserTarget::Pattern, typed};
    std::string path;
    if (typed == "~" || typed.rfind("~/", 0) == 0)
        path = pathIn(home, typed.substr(std::min<std::size_t>(typed.size(), 2)));
    else if (!typed.empty() && typed.front() == '/')
        path = typed;
    else
        path = pathIn(folder, typed);
    path = pathOnDisk(tidied(path));

    std::error_code ec;
    const auto kindOf = [&ec](const std::string& p) { return fs::status(p, ec).type(); };
    if (kindOf(path) == fs::file_type::directory) return {ChooserTarget::Folder, path};
    if (kindOf(path) != fs::file_type::not_found) return {ChooserTarget::File, path};
    if (!defaultSuffix.empty() && !hasSuffix(path)) {
        const std::string withSuffix = pathOnDisk(path + "." + std::string(defaultSuffix));
        if (kindOf(withSuffix) == fs::file_type::directory)
            return {ChooserTarget::Missing, withSuffix};
        return {kindOf(withSuffix) == fs::file_type::not_found ? ChooserTarget::Missing
                                                               : ChooserTarget::File,
                withSuffix};
    }
    return {ChooserTarget::Missing, path};
}

ChooserStep typedStep(ChooserMode mode, bool fromFolderBox, const std::string& folder,
                      const std::string& typed, const std::string& home,
                      const std::string& defaultSuffix) {
    using K = ChooserStep::Kind;
    if (typed.find_first_not_of(" \t") == std::string::npos)
        return mode == ChooserMode::Folder && !fromFolderBox ? ChooserStep{K::Choose, folder}
                                                             : ChooserStep{};
    const bool folders = mode == ChooserMode::Folder || fromFolderBox;
    const ChooserTarget t = resolveTyped(folder, typed, home, folders ? "" : defaultSuffix);
    if (t.kind == ChooserTarget::Folder)
        return {mode == ChooserMode::Folder && !fromFolderBox ? K::Choose : K::Enter, t.path};
    if (folders) return {K::NoSuchFolder, typed};
    if (t.kind == ChooserTarget::Pattern) return {K::Filter, t.path};
    if (t.kind == ChooserTarget::Missing && mode == ChooserMode::Open)
        return {K::NoSuchFile, t.path};
    if (t.kind == ChooserTarget::Missing && !isFolder(parentFolder(t.path)))
        return {K::NoSuchFolder, parentFolder(t.path)};
    return {K::Choose, t.path};
}

ChooserStart chooserStart(const std::string& here, const std::string& initialDir,
                          const std::string& fileName, const std::string& home) {
    ChooserStart start{here, {}};
    if (!initialDir.empty()) start.folder = resolveTyped(here, initialDir, home, {}).path;
    if (!fileName.empty()) {
        const ChooserTarget t = resolveTyped(start.folder, fileName, home, {});
        if (t.kind == ChooserTarget::Folder) {
            start.folder = t.path;
        } else {
            if (fileName.find('/') != std::string::npos) start.folder = parentFolder(t.path);
            start.name = t.path.substr(t.path.rfind('/') + 1);
        }
    }
    if (!isFolder(start.folder)) start.folder = here;
    return start;
}

}  // namespace rostrix
