// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ArchiveCheck.h"

#include <zip.h>

#include <memory>
#include <vector>

namespace rostrix {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};

std::string notWhole(const std::string& why) {
    return "The file received is not a whole ZIP archive (" + why + ")";
}

}  // namespace

std::optional<std::string> zipArchiveProblem(const std::string& path) {
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(
        zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        return notWhole(text);
    }
    std::vector<char> buffer(1 << 16);
    const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        if (zip_stat_index(archive.get(), index, 0, &st) != 0)
            return notWhole(zip_strerror(archive.get()));
        std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive.get(), index, 0));
        if (!entry) return notWhole(zip_strerror(archive.get()));
        // Read to the end: libzip checks the size and the checksum as the entry ends.
        zip_uint64_t got = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(entry.get(), buffer.data(), buffer.size());
            if (n < 0) return notWhole(zip_file_strerror(entry.get()));
            if (n == 0) break;
            got += static_cast<zip_uint64_t>(n);
        }
        if ((st.valid & ZIP_STAT_SIZE) && got != st.size)
            return notWhole("an entry is shorter than its recorded size");
    }
    return std::nullopt;
}

}  // namespace rostrix
