// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zip.h>

#include <string>

namespace rostrix {

// The ZIP library's view of the archive file at path: the library reads the old archive
// from it and writes the new one through a ReplacingFile, so the old archive is replaced
// only once the new one is wholly on disk, and a failure, a full disk included, leaves the
// old archive and no temporary file. A missing file reads as an empty archive.
zip_source_t* archiveFileSource(const std::string& path, zip_error_t* error);

}  // namespace rostrix
