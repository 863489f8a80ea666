// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReplacingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "platform/PathParts.h"

namespace rostrix {

namespace {

constexpr std::string_view kMark = ".rostrix-";
constexpr std::size_t kSuffix = 6;
// The temporary name must still fit a file name when the file's own name is long.
constexpr std::size_t kMaxBase = NAME_MAX - 1 - kMark.size() - kSuffix;

std::string tempPrefix(const std::string& target) {
    std::string prefix(1, '.');
    prefix += fileNamePart(target).substr(0, kMaxBase);
    prefix += kMark;
    return prefix;
}

bool isSuffixChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The random end of a temporary name: six letters or digits (a helper's may hold "_").
bool isRandomTail(std::string_view tail, bool underscore = false) {
    return tail.size() == kSuffix && std::all_of(tail.begin(), tail.end(), [&](char c) {
               return isSuffixChar(c) || (underscore && c == '_');
           });
}

// The temporary name of the file whose temporary names start with prefix.
bool isTemporaryName(std::string_view name, std::string_view prefix) {
    return name.starts_with(prefix) && isRandomTail(name.substr(prefix.size()));
}

// Goes through the folder's entries and removes each one leftover() picks that no running
// writer holds.
void removeAbandonedIn(const std::string& folder,
                       const std::function<bool(std::string_view)>& leftover) {
    struct CloseDir {
        void operator()(DIR* d) const { closedir(d); }
    };
    std::unique_ptr<DIR, CloseDir> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return;
    const int dirFd = dirfd(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        if (!leftover(entry->d_name)) continue;
        // A lock we can take means the run that wrote this file is gone.
        const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(dirFd, entry->d_name, 0);
        close(fd);
    }
}

std::string randomSuffix() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string s;
    for (std::size_t i = 0; i < kSuffix; ++i) s += kChars[pick(random)];
    return s;
}

// The file a link points to, so that the link itself survives the rename.
std::string resolveTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : target_(resolveTarget(path)) {}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::fail() {
    if (error_ == 0) error_ = errno != 0 ? errno : EIO;
    discard();
    return false;
}

bool ReplacingFile::open() {
    discard();
    error_ = 0;
    // A killed earlier write of this file left its temporary file behind: it goes now.
    removeLeftovers(target_);
    struct stat old {};
    const bool hasOld = stat(target_.c_str(), &old) == 0;
    const std::string stem = folderWithSlash(target_) + tempPrefix(target_);
    for (int attempt = 0; fd_ < 0; ++attempt) {
        const std::string name = stem + randomSuffix();
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ >= 0) {
            temp_ = name;
        } else if (errno != EEXIST || attempt == 100) {
            return fail();
        }
    }
    // Held until the file has its final name; a file system without locks only loses the
    // clean-up of leftovers.
    flock(fd_, LOCK_EX | LOCK_NB);
    if (hasOld) {
        // The replacement keeps what the old file allowed, and its owner where we may.
        fchmod(fd_, old.st_mode & 07777);
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
            fchown(fd_, old.st_uid, old.st_gid) != 0) {
            // Not ours to give away: the file then belongs to whoever wrote it.
        }
    }
    return true;
}

bool ReplacingFile::write(std::string_view bytes) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail();
        if (n == 0) {
            errno = ENOSPC;
            return fail();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReplacingFile::write(std::span<const std::string_view> pieces) {
    if (fd_ < 0) return false;
    std::vector<iovec> io;
    io.reserve(pieces.size());
    for (const std::string_view piece : pieces)
        if (!piece.empty()) io.push_back(iovec{const_cast<char*>(piece.data()), piece.size()});
    for (std::size_t first = 0; first < io.size();) {
        const auto count = static_cast<int>(std::min<std::size_t>(io.size() - first, IOV_MAX));
        const ssize_t n = ::writev(fd_, io.data() + first, count);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail();
        if (n == 0) {
            errno = ENOSPC;
            return fail();
        }
        // Past the pieces written whole, into the one written in part.
        auto done = static_cast<std::size_t>(n);
        for (; first < io.size() && done >= io[first].iov_len; ++first) done -= io[first].iov_len;
        if (done > 0) {
            io[first].iov_base = static_cast<char*>(io[first].iov_base) + done;
            io[first].iov_len -= done;
        }
    }
    return true;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) return false;
    // A full disk may only show when the data is flushed: nothing is renamed before that.
    if (fsync(fd_) != 0) return fail();
    // Renamed while still locked, so no clean-up can take the file in between.
    if (rename(temp_.c_str(), target_.c_str()) != 0) return fail();
    temp_.clear();
    close(fd_);
    fd_ = -1;
    return true;
}

void ReplacingFile::discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!temp_.empty()) unlink(temp_.c_str());
    temp_.clear();
}

bool ReplacingFile::isTemporaryNameFor(const std::string& path, const std::string& entry) {
    return isTemporaryName(entry, tempPrefix(resolveTarget(path)));
}

void ReplacingFile::removeLeftovers(const std::string& path) {
    const std::string target = resolveTarget(path);
    const std::string prefix = tempPrefix(target);
    removeAbandonedIn(folderWithSlash(target),
                      [&](std::string_view name) { return isTemporaryName(name, prefix); });
}

void ReplacingFile::removeLeftoversIn(const std::string& folder,
                                      const std::vector<std::string>& names,
                                      const std::vector<std::string>& prefixes) {
    removeAbandonedIn(folder, [&](std::string_view name) {
        // ".<file>.rostrix-XXXXXX": some file's temporary file.
        const bool ours =
            name.size() > 1 + kMark.size() + kSuffix && name.front() == '.' &&
            name.substr(name.size() - kSuffix - kMark.size(), kMark.size()) == kMark &&
            isRandomTail(name.substr(name.size() - kSuffix));
        const bool named = std::find(names.begin(), names.end(), name) != names.end();
        const bool helpers = std::any_of(prefixes.begin(), prefixes.end(), [&](const auto& p) {
            return name.starts_with(p) && isRandomTail(name.substr(p.size()), true);
        });
        return ours || named || helpers;
    });
}

bool syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const int result = fsync(fd);
    const int error = errno;
    close(fd);
    errno = error;
    return result == 0;
}

}  // namespace rostrix
