// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/Error.h"
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
};

bool failWith(int* error, int value) {
    if (error) *error = value;
    return false;
}

int noDescriptor(int* error, int value) {
    failWith(error, value);
    return -1;
}

std::nullopt_t nothingRead(int* error, int value) {
    failWith(error, value);
    return std::nullopt;
}

}  // namespace

std::string fileFailureText(const std::string& pattern, const std::string& path, int error) {
    if (error == kNotRegularFile) return path + " is not a regular file";
    if (error == kDanglingLink) return path + " is a symbolic link to a file that does not exist";
    std::string text = formatText(pattern, path);
    if (error > 0) text += std::string(": ") + std::strerror(error);
    return text;
}

int notAFileReason(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return errno == ELOOP ? ELOOP : 0;
    if (S_ISDIR(info.st_mode)) return EISDIR;
    return S_ISREG(info.st_mode) ? 0 : kNotRegularFile;
}

bool isNotAFile(int error) {
    return error == EISDIR || error == ELOOP || error == kNotRegularFile || error == kDanglingLink;
}

// O_NONBLOCK keeps open() from waiting for the other end of a pipe; the type is looked at
// before a byte moves, and a regular file then gets its ordinary blocking descriptor.
int openRegularFile(const std::string& path, int flags, int* error) {
    Descriptor file{::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666)};
    struct stat info {};
    if (file.fd < 0) {
        // A pipe without a reader refuses a non-blocking open for writing (ENXIO).
        const int why = errno;
        if (const int reason = notAFileReason(path)) return noDescriptor(error, reason);
        struct stat link {};
        const bool dangling = why == ENOENT && (flags & O_CREAT) == 0 &&
                              ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        return noDescriptor(error, dangling ? kDanglingLink : why);
    }
    if (::fstat(file.fd, &info) != 0) return noDescriptor(error, errno);
    if (S_ISDIR(info.st_mode)) return noDescriptor(error, EISDIR);
    if (!S_ISREG(info.st_mode)) return noDescriptor(error, kNotRegularFile);
    const int status = ::fcntl(file.fd, F_GETFL);
    if (status < 0 || ::fcntl(file.fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        return noDescriptor(error, errno);
    return std::exchange(file.fd, -1);
}

// Files are opened by the bytes of their names, so a name that is not valid UTF-8 (a team
// file from an old Windows disk) opens as well as any other.
namespace {

std::optional<std::string> readBytes(const std::string& path,
                                     const std::function<void(std::string_view)>& grown,
                                     std::size_t maxBytes, int* error) {
    Descriptor file{openRegularFile(path, O_RDONLY, error)};
    struct stat info {};
    if (file.fd < 0) return std::nullopt;
    if (::fstat(file.fd, &info) != 0) return nothingRead(error, errno);
    if (static_cast<unsigned long long>(info.st_size) > maxBytes)
        return nothingRead(error, kFileTooLarge);
    std::string data;
    // Room for the whole file at once: a large archive is not copied again as it grows.
    if (info.st_size > 0) data.reserve(static_cast<std::size_t>(info.st_size));
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return nothingRead(error, errno);
        if (n == 0) return data;
        // A file that grows while it is read is held to the same limit.
        if (data.size() + static_cast<std::size_t>(n) > maxBytes)
            return nothingRead(error, kFileTooLarge);
        data.append(block, static_cast<std::size_t>(n));
        if (grown) grown(data);
    }
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, int* error) {
    return readBytes(path, {}, std::string::npos, error);
}

std::optional<std::string> readFileBytes(const std::string& path,
                                         const std::function<void(std::string_view)>& grown,
                                         int* error) {
    return readBytes(path, grown, std::string::npos, error);
}

std::optional<std::string> readFileBytesUpTo(const std::string& path, std::size_t maxBytes,
                                             int* error) {
    return readBytes(path, {}, maxBytes, error);
}

std::optional<std::vector<std::string>> readLines(const std::string& path, int* error) {
    auto bytes = readFileBytes(path, error);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, int* error) {
    return writePiecesAtomic(path, std::span(&bytes, 1), error);
}

bool writePiecesAtomic(const std::string& path, std::span<const std::string_view> pieces,
                       int* error) {
    struct stat st {};
    // A pipe or device would take the bytes directly (or wait for a reader for ever).
    if (const int reason = notAFileReason(path)) return failWith(error, reason);
    if (::stat(path.c_str(), &st) == 0) {
        // A read-only file is not ours to replace, even though a rename over it would
        // work (and root passes every permission check, so look at the bits too).
        if (::access(path.c_str(), W_OK) != 0) return failWith(error, errno);
        if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return failWith(error, EACCES);
    }
    ReplacingFile file(path);
    if (file.open() && file.write(pieces) && file.commit()) return true;
    return failWith(error, file.errorNumber());
}

bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines, int* error) {
    return writeFileAtomic(path, joinLinesCrlf(lines), error);
}

}  // namespace rostrix
