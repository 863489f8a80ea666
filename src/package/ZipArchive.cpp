// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/ZipArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>

#include "package/ArchiveFileSource.h"
#include "package/DeflatedFile.h"
#include "platform/LineFile.h"
#include "platform/PathParts.h"
#include "platform/ReplacingFile.h"

namespace rostrix {

namespace {

// The oldest ZIP library that can call back while it writes.
constexpr int kNeedMajor = 1;
constexpr int kNeedMinor = 3;

// What stands under the archive's name when it is no file to open (a pipe would hold the
// open for ever): "" when it is a regular file or nothing.
std::string takenByOther(const std::string& path) {
    const int why = notAFileReason(path);
    return why ? fileFailureText("Cannot write the ZIP file %s", path, why) : std::string();
}

bool versionAtLeast(const char* version, int major, int minor) {
    int haveMajor = 0;
    int haveMinor = 0;
    if (std::sscanf(version, "%d.%d", &haveMajor, &haveMinor) < 1) return false;
    return haveMajor > major || (haveMajor == major && haveMinor >= minor);
}

std::string zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

void progress(zip_t*, double, void* state) {
    auto* pump = static_cast<std::function<void()>*>(state);
    if (*pump) (*pump)();
}

// One file to pack: its entry name and where it is read from.
struct Member {
    std::string name;
    std::string path;
    std::time_t mtime;
    std::uint64_t size;
};

}  // namespace

void ZipArchive::LoadZipLib() {
    const char* version = zip_libzip_version();
    if (!versionAtLeast(version, kNeedMajor, kNeedMinor)) {
        zipLoaded_ = false;
        fail("The ZIP library " + std::string(version) +
             " is too old: " + std::to_string(kNeedMajor) + "." + std::to_string(kNeedMinor) +
             " or later is needed.");
        return;
    }
    zipLoaded_ = true;
}

void ZipArchive::LoadUnzipLib() {
    unzipLoaded_ = true;
}

void ZipArchive::UnloadZipLib() {
    zipLoaded_ = false;
}

void ZipArchive::UnloadUnzipLib() {
    unzipLoaded_ = false;
}

void ZipArchive::setZipFileName(const std::string& name) {
    zipFileName_ = name;
    afresh_ = false;
    readDirectory();
}

void ZipArchive::startAfresh() {
    afresh_ = true;
    entries_.clear();
}

void ZipArchive::readDirectory() {
    entries_.clear();
    std::error_code ec;
    if (zipFileName_.empty() || !std::filesystem::exists(zipFileName_, ec)) return;
    if (const std::string taken = takenByOther(zipFileName_); !taken.empty())
        return keep(ZIP_ER_INVAL, taken);
    int code = 0;
    zip_t* za = zip_open(zipFileName_.c_str(), ZIP_RDONLY, &code);
    if (!za) {
        keep(code, zipFileName_ + ": " + zipErrorText(code));
        return;
    }
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i)
        if (const char* name = zip_get_name(za, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW))
            entries_.emplace_back(name);
    zip_discard(za);
}

std::string ZipArchive::AppendSlash(const std::string& folder) {
    if (!folder.empty() && folder.back() == '/') return folder;
    return folder + "/";
}

void ZipArchive::fail(const std::string& text) {
    lastErrorCode_ = kReported;
    lastMessage_ = text;
    if (OnFailure) OnFailure(text);
}

void ZipArchive::keep(int code, const std::string& text) {
    lastErrorCode_ = code;
    lastMessage_ = text;
}

void ZipArchive::leaveOut(int code, const std::string& text) {
    keep(code, text);
    leftOut_.push_back(text);
}

int ZipArchive::Add() {
    count_ = 0;
    lastErrorCode_ = 0;
    lastMessage_.clear();
    leftOut_.clear();
    const std::vector<std::string> files = std::move(FSpecArgs);
    FSpecArgs.clear();
    if (!zipLoaded_) {
        fail("The ZIP library is not loaded, so no files can be added.");
        return 0;
    }
    if (zipFileName_.empty()) {
        fail("No ZIP file name is set.");
        return 0;
    }
    if (files.empty()) {
        fail("There are no files to add.");
        return 0;
    }
    if (const std::string taken = takenByOther(zipFileName_); !taken.empty()) {
        fail(taken);
        return 0;
    }
    // What a killed earlier run left beside this archive would otherwise stay for ever.
    ReplacingFile::removeLeftovers(zipFileName_);

    // The library reads the files only when it writes the archive, and one unreadable
    // file would then sink the whole archive: check each one first and leave those out.
    std::vector<Member> members;
    std::map<std::string, std::size_t> byName;
    for (const std::string& file : files) {
        // Folders, pipes and devices are no files to pack (and a pipe is never waited on).
        int why = 0;
        const int fd = openRegularFile(file, O_RDONLY, &why);
        struct stat st {};
        if (fd >= 0 && fstat(fd, &st) != 0) why = errno;
        if (fd >= 0) close(fd);
        if (fd < 0 || why != 0) {
            leaveOut(why, fileFailureText("Cannot read %s", file, why));
            continue;
        }
        const std::time_t mtime = st.st_mtime;
        const auto size = static_cast<std::uint64_t>(st.st_size);
        const std::string name = fileNamePart(file);
        // A name listed twice is one entry: the later file replaces the earlier.
        if (auto it = byName.find(name); it != byName.end()) {
            members[it->second] = {name, file, mtime, size};
        } else {
            byName.emplace(name, members.size());
            members.push_back({name, file, mtime, size});
        }
    }
    if (members.empty()) return 0;

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* archive = archiveFileSource(zipFileName_, &error);
    const int flags = ZIP_CREATE | (afresh_ ? ZIP_TRUNCATE : 0);
    zip_t* za = archive ? zip_open_from_source(archive, flags, &error) : nullptr;
    if (!za) {
        if (archive) zip_source_free(archive);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        fail("Cannot open the ZIP file " + zipFileName_ + ": " + why);
        return 0;
    }
    zip_error_fini(&error);
    Deflater deflater(AddCompLevel);
    int added = 0;
    for (const Member& m : members) {
        zip_source_t* source = deflatedFileSource(za, m.path, m.mtime, m.size, deflater);
        if (!source) {
            leaveOut(zip_error_code_zip(zip_get_error(za)), "Cannot add " + m.path);
            continue;
        }
        const zip_int64_t index =
            zip_file_add(za, m.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
        if (index < 0) {
            leaveOut(zip_error_code_zip(zip_get_error(za)), m.name + ": " + zip_strerror(za));
            zip_source_free(source);
            continue;
        }
        ++added;
    }
    if (added == 0) {
        zip_discard(za);
        return 0;
    }
    zip_register_progress_callback_with_state(za, 0.01, progress, nullptr, &Pump);
    // The new archive goes to a temporary file beside the old one and takes its name only
    // when everything went in and is on disk, so a failure here leaves the old archive.
    if (zip_close(za) < 0) {
        const std::string why = zip_strerror(za);
        zip_discard(za);
        fail("Cannot write the ZIP file " + zipFileName_ + ": " + why);
        return 0;
    }
    count_ = added;
    afresh_ = false;
    readDirectory();
    return count_;
}

}  // namespace rostrix
