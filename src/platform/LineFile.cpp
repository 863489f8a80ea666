// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

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

namespace {

// Closes a descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    // The close reports what the last writes could not: a full disk, a lost server.
    bool close() {
        const int f = std::exchange(fd, -1);
        return ::close(f) == 0;
    }
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

// Files are opened by the bytes of their names, so a name that is not valid UTF-8 (a team
// file from an old Windows disk) opens as well as any other.
std::optional<std::string> readFileBytes(const std::string& path) {
    return readFileBytes(path, nullptr);
}

std::optional<std::string> readFileBytes(const std::string& path,
                                         const std::function<void(std::string_view)>& grown) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
    std::string data;
    // Room for the whole file at once: a large archive is not copied again as it grows.
    if (S_ISREG(info.st_mode) && info.st_size > 0)
        data.reserve(static_cast<std::size_t>(info.st_size));
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return data;
        data.append(block, static_cast<std::size_t>(n));
        if (grown) grown(data);
    }
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

bool writeFileAtomic(const std::string& path, std::string_view bytes) {
    return writePiecesAtomic(path, std::span(&bytes, 1));
}

bool writePiecesAtomic(const std::string& path, std::span<const std::string_view> pieces) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return false;
        // A read-only file is not ours to replace, even though a rename over it would
        // work (and root passes every permission check, so look at the bits too).
        if (::access(path.c_str(), W_OK) != 0 || !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
            return false;
        // A device or pipe cannot be replaced by a rename: the bytes go to it directly.
        if (!S_ISREG(st.st_mode)) {
            Descriptor direct{::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC)};
            if (direct.fd < 0) return false;
            for (const std::string_view piece : pieces)
                if (!writeAll(direct.fd, piece)) return false;
            return direct.close();
        }
    }
    ReplacingFile file(path);
    return file.open() && file.write(pieces) && file.commit();
}

bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    return writeFileAtomic(path, joinLinesCrlf(lines));
}

}  // namespace rostrix
