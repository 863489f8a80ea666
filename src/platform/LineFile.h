// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// Text files are lists of byte lines. Reading accepts CR LF, LF and a lone CR as line
// ends; a line end after the last line does not make an extra empty line. Writing puts
// CR LF after every line, the last one included.
std::vector<std::string> splitLines(std::string_view bytes);
std::string joinLinesCrlf(const std::vector<std::string>& lines);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);
// The same, handing the bytes read so far to grown after each block, while the newest of
// them are still in the processor's cache.
std::optional<std::string> readFileBytes(const std::string& path,
                                         const std::function<void(std::string_view)>& grown);
std::optional<std::vector<std::string>> readLines(const std::string& path);

// Replaces the file whole: the bytes go to a temporary file in the same folder, which
// is renamed over the old one only after every write and the sync to disk succeeded, so a
// full disk or a failure never leaves half a file behind. Returns false (and leaves any
// old file byte for byte, with no temporary file) when it cannot be written.
bool writeFileAtomic(const std::string& path, std::string_view bytes);
// The same for a file made of pieces, written in order as they stand (never joined first).
bool writePiecesAtomic(const std::string& path, std::span<const std::string_view> pieces);
bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines);

}  // namespace rostrix
