// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/DeflatedFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>

namespace rostrix {

Deflater::Deflater(int level) {
    // Negative window bits: raw deflate data, no zlib header or trailer.
    ready_ = deflateInit2(&stream_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
}

Deflater::~Deflater() {
    if (ready_) deflateEnd(&stream_);
}

bool Deflater::deflate(const std::string& bytes, std::string& out) {
    // One call takes at most 4 GiB; entries that large would need ZIP64 anyway.
    if (bytes.size() >= UINT_MAX / 2) return false;
    if (!ready_ || deflateReset(&stream_) != Z_OK) return false;
    out.resize(deflateBound(&stream_, static_cast<uLong>(bytes.size())));
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream_.avail_in = static_cast<uInt>(bytes.size());
    stream_.next_out = reinterpret_cast<Bytef*>(out.data());
    stream_.avail_out = static_cast<uInt>(out.size());
    if (::deflate(&stream_, Z_FINISH) != Z_STREAM_END) return false;
    out.resize(stream_.total_out);
    return true;
}

namespace {

struct DeflatedFile {
    std::string path;
    std::time_t mtime = 0;
    Deflater* deflater = nullptr;
    std::string data;  // the deflated bytes while open
    std::size_t pos = 0;
    zip_uint64_t size = 0;
    zip_uint64_t compSize = 0;
    zip_uint32_t crc = 0;
    bool read = false;
    zip_error_t error{};
};

std::optional<std::string> readWhole(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return bytes;
}

zip_int64_t callback(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* file = static_cast<DeflatedFile*>(state);
    switch (cmd) {
        case ZIP_SOURCE_OPEN: {
            errno = 0;
            const auto bytes = readWhole(file->path);
            if (!bytes) {
                zip_error_set(&file->error, ZIP_ER_OPEN, errno);
                return -1;
            }
            if (!file->deflater->deflate(*bytes, file->data)) {
                zip_error_set(&file->error, ZIP_ER_ZLIB, 0);
                return -1;
            }
            file->size = bytes->size();
            file->compSize = file->data.size();
            file->crc =
                static_cast<zip_uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes->data()),
                                                static_cast<uInt>(bytes->size())));
            file->read = true;
            file->pos = 0;
            return 0;
        }
        case ZIP_SOURCE_READ: {
            const std::size_t n = std::min<std::size_t>(len, file->data.size() - file->pos);
            std::memcpy(data, file->data.data() + file->pos, n);
            file->pos += n;
            return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_CLOSE:
            file->data = std::string();
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* st = static_cast<zip_stat_t*>(data);
            zip_stat_init(st);
            // The size is known from the start, so the library need not reserve room for
            // large-file sizes in each entry's header.
            st->valid = ZIP_STAT_MTIME | ZIP_STAT_COMP_METHOD | ZIP_STAT_SIZE;
            st->mtime = file->mtime;
            st->comp_method = ZIP_CM_DEFLATE;
            st->size = file->size;
            if (file->read) {
                st->valid |= ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC;
                st->comp_size = file->compSize;
                st->crc = file->crc;
            }
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&file->error, data, len);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&file->error);
            delete file;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return ZIP_SOURCE_SUPPORTS_READABLE;
        default:
            zip_error_set(&file->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

}  // namespace

zip_source_t* deflatedFileSource(zip_t* za, const std::string& path, std::time_t mtime,
                                 std::uint64_t size, Deflater& deflater) {
    auto* file = new DeflatedFile;
    file->path = path;
    file->mtime = mtime;
    file->size = size;
    file->deflater = &deflater;
    zip_error_init(&file->error);
    zip_source_t* source = zip_source_function(za, callback, file);
    if (!source) {
        zip_error_fini(&file->error);
        delete file;
    }
    return source;
}

}  // namespace rostrix
