// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <ctime>
#include <string>

namespace rostrix {

// One deflate stream for every file of an archive: set up once and reset between files,
// which spares the allocation and clearing of its tables for each small team file.
class Deflater {
public:
    explicit Deflater(int level);
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Raw deflate data of bytes, as a ZIP entry holds it.
    bool deflate(const std::string& bytes, std::string& out);

private:
    z_stream stream_{};
    bool ready_ = false;
};

// A ZIP library source for one file (of the size given) that is read, checksummed and deflated only
// when the archive is written, and handed over already compressed. A file that cannot be read by
// then makes the write fail, which leaves the old archive in place.
zip_source_t* deflatedFileSource(zip_t* za, const std::string& path, std::time_t mtime,
                                 std::uint64_t size, Deflater& deflater);

}  // namespace rostrix
