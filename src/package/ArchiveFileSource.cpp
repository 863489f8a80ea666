// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/ArchiveFileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/ReplacingFile.h"

namespace rostrix {

namespace {

struct ArchiveFile {
    std::string path;
    bool existed = false;  // when the source was made: a missing file is a new archive
    int in = -1;
    zip_uint64_t inSize = 0;
    zip_uint64_t inPos = 0;
    std::unique_ptr<ReplacingFile> out;
    zip_uint64_t outSize = 0;
    zip_uint64_t outPos = 0;
    zip_error_t error{};
};

zip_int64_t failWith(ArchiveFile* file, int code, int system) {
    zip_error_set(&file->error, code, system);
    return -1;
}

zip_int64_t openForReading(ArchiveFile* file) {
    file->inPos = 0;
    file->inSize = 0;
    file->in = ::open(file->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file->in < 0) {
        if (errno == ENOENT) return 0;  // read as empty
        return failWith(file, ZIP_ER_OPEN, errno);
    }
    struct stat st {};
    if (fstat(file->in, &st) != 0) return failWith(file, ZIP_ER_READ, errno);
    file->inSize = static_cast<zip_uint64_t>(st.st_size);
    return 0;
}

zip_int64_t readSome(ArchiveFile* file, void* data, zip_uint64_t len) {
    if (file->in < 0) return 0;
    for (;;) {
        const ssize_t n = ::read(file->in, data, len);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failWith(file, ZIP_ER_READ, errno);
        file->inPos += static_cast<zip_uint64_t>(n);
        return n;
    }
}

zip_int64_t seek(ArchiveFile* file, int fd, zip_uint64_t& pos, zip_uint64_t size, void* data,
                 zip_uint64_t len) {
    const zip_int64_t to = zip_source_seek_compute_offset(pos, size, data, len, &file->error);
    if (to < 0) return -1;
    if (fd >= 0 && lseek(fd, static_cast<off_t>(to), SEEK_SET) < 0)
        return failWith(file, ZIP_ER_SEEK, errno);
    pos = static_cast<zip_uint64_t>(to);
    return 0;
}

zip_int64_t statArchive(ArchiveFile* file, void* data, zip_uint64_t len) {
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &file->error);
    if (!st) return -1;
    zip_stat_init(st);
    struct stat info {};
    if (::stat(file->path.c_str(), &info) == 0) {
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        st->size = static_cast<zip_uint64_t>(info.st_size);
        st->mtime = info.st_mtime;
    } else if (errno == ENOENT) {
        st->valid = ZIP_STAT_SIZE;
        st->size = 0;
    } else {
        return failWith(file, ZIP_ER_READ, errno);
    }
    return sizeof(zip_stat_t);
}

zip_int64_t write(ArchiveFile* file, const void* data, zip_uint64_t len) {
    if (!file->out->write({static_cast<const char*>(data), static_cast<std::size_t>(len)}))
        return failWith(file, ZIP_ER_WRITE, file->out->errorNumber());
    file->outPos += len;
    if (file->outPos > file->outSize) file->outSize = file->outPos;
    return static_cast<zip_int64_t>(len);
}

zip_int64_t callback(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* file = static_cast<ArchiveFile*>(state);
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            return openForReading(file);
        case ZIP_SOURCE_READ:
            return readSome(file, data, len);
        case ZIP_SOURCE_CLOSE:
            if (file->in >= 0) close(file->in);
            file->in = -1;
            return 0;
        case ZIP_SOURCE_SEEK:
            return seek(file, file->in, file->inPos, file->inSize, data, len);
        case ZIP_SOURCE_TELL:
            return static_cast<zip_int64_t>(file->inPos);
        case ZIP_SOURCE_STAT:
            return statArchive(file, data, len);
        case ZIP_SOURCE_ACCEPT_EMPTY:
            // An empty file someone else made is no archive; no file at all is a new one.
            return file->existed ? 0 : 1;
        case ZIP_SOURCE_BEGIN_WRITE:
            file->out = std::make_unique<ReplacingFile>(file->path);
            file->outPos = file->outSize = 0;
            if (!file->out->open()) return failWith(file, ZIP_ER_TMPOPEN, file->out->errorNumber());
            return 0;
        case ZIP_SOURCE_WRITE:
            return write(file, data, len);
        case ZIP_SOURCE_SEEK_WRITE:
            return seek(file, file->out->fd(), file->outPos, file->outSize, data, len);
        case ZIP_SOURCE_TELL_WRITE:
            return static_cast<zip_int64_t>(file->outPos);
        case ZIP_SOURCE_COMMIT_WRITE: {
            const bool ok = file->out->commit();
            const int why = file->out->errorNumber();
            file->out.reset();
            if (!ok) return failWith(file, ZIP_ER_WRITE, why);
            file->existed = true;
            return 0;
        }
        case ZIP_SOURCE_ROLLBACK_WRITE:
            file->out.reset();
            return 0;
        case ZIP_SOURCE_REMOVE:
            if (unlink(file->path.c_str()) != 0 && errno != ENOENT)
                return failWith(file, ZIP_ER_REMOVE, errno);
            file->existed = false;
            return 0;
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&file->error, data, len);
        case ZIP_SOURCE_FREE:
            if (file->in >= 0) close(file->in);
            zip_error_fini(&file->error);
            delete file;  // an unfinished write goes with it
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_SEEK,
                ZIP_SOURCE_TELL, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_ACCEPT_EMPTY, ZIP_SOURCE_BEGIN_WRITE,
                ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE,
                ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_REMOVE, -1);
        default:
            return failWith(file, ZIP_ER_OPNOTSUPP, 0);
    }
}

}  // namespace

zip_source_t* archiveFileSource(const std::string& path, zip_error_t* error) {
    auto* file = new ArchiveFile;
    file->path = path;
    struct stat st {};
    file->existed = lstat(path.c_str(), &st) == 0;
    zip_error_init(&file->error);
    zip_source_t* source = zip_source_function_create(callback, file, error);
    if (!source) {
        zip_error_fini(&file->error);
        delete file;
    }
    return source;
}

}  // namespace rostrix
