#include "platform/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "platform/ReplacingFile.h"

namespace rostrix {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string joinLinesCrlf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> readFileBytes(const std::string& path) {
    QFile f(QFile::decodeName(path.c_str()));
    if (QFileInfo(f).isDir() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return data.toStdString();
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

namespace {

// A device or pipe cannot be replaced by a rename: the bytes go to it directly.
bool writeInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return close(fd) == 0 && ok;
}

}  // namespace

bool writeFileAtomic(const std::string& path, std::string_view bytes) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return false;
        // A read-only file is not ours to replace, even though a rename over it would
        // work (and root passes every permission check, so look at the bits too).
        if (access(path.c_str(), W_OK) != 0 || !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
            return false;
        if (!S_ISREG(st.st_mode)) return writeInPlace(path, bytes);
    }
    ReplacingFile file(path);
    return file.open() && file.write(bytes) && file.commit();
}

bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    return writeFileAtomic(path, joinLinesCrlf(lines));
}

}  // namespace rostrix
