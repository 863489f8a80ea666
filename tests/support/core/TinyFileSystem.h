// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/core/TempFolder.h"

namespace rostrix::test {

// A real file system of a few pages (tmpfs) on a fresh folder, for what a full disk does.
// The mount is made in a mount namespace of the test's own thread, private from the start,
// so it never shows outside the test and vanishes with it.
class TinyFileSystem {
public:
    // Why no tiny file system can be mounted here, or "" when one can.
    static std::string unavailable() {
        static const std::string reason = enterPrivateMounts();
        return reason;
    }

    explicit TinyFileSystem(std::size_t bytes) {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        mounted_ = unavailable().empty() && mount("tmpfs", folder_.path().c_str(), "tmpfs",
                                                  MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    }
    ~TinyFileSystem() {
        if (mounted_) umount2(folder_.path().c_str(), MNT_DETACH);
    }
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    std::string path() const { return folder_.path(); }
    std::string file(const std::string& name) const { return folder_.file(name); }
    void write(const std::string& name, const std::string& bytes) const {
        folder_.write(name, bytes);
    }
    std::string read(const std::string& name) const { return folder_.read(name); }

    // Fills the file system with the file "filler" until only freeBytes (whole pages) are
    // left.
    void fillLeaving(std::size_t freeBytes) const {
        const std::string path = file("filler");
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0) return;
        const std::string page(4096, 'f');
        while (::write(fd, page.data(), page.size()) > 0) {
        }
        const off_t size = lseek(fd, 0, SEEK_END);
        if (ftruncate(fd, std::max<off_t>(0, size - static_cast<off_t>(freeBytes))) != 0) {
        }
        close(fd);
    }

    // Every name in the folder, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static std::string enterPrivateMounts() {
        if (geteuid() != 0) return "mounting a tiny file system needs root";
        if (unshare(CLONE_NEWNS) != 0)
            return std::string("no mount namespace of our own: ") + std::strerror(errno);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make the mounts private: ") + std::strerror(errno);
        const TempFolder probe;
        if (mount("tmpfs", probe.path().c_str(), "tmpfs", 0, "size=4096") != 0)
            return std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        umount2(probe.path().c_str(), MNT_DETACH);
        return {};
    }

    TempFolder folder_;
    bool mounted_ = false;
};

}  // namespace rostrix::test
