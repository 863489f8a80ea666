// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace rostrix {

// Whether the file at path is a whole ZIP archive: its central directory is there and
// agrees with the entries, and every entry reads to its recorded size with its checksum.
// Nothing when it is; otherwise why not, in words for the user.
std::optional<std::string> zipArchiveProblem(const std::string& path);

}  // namespace rostrix
