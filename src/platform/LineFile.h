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

// The reason a file could not be read or written, for fileFailureText: an errno value,
// kNotRegularFile for a path that names a pipe, a device or a socket, or kDanglingLink for
// a symbolic link to nothing (read from, it is no missing file: something is there).
inline constexpr int kNotRegularFile = 0x10000;
inline constexpr int kDanglingLink = 0x10001;
// A file larger than its reader takes (readFileBytesUpTo).
inline constexpr int kFileTooLarge = 0x10002;

// What the user is told when path could not be read or written: "<path> is not a regular
// file", "<path> is a symbolic link to a file that does not exist", or the pattern
// ("Cannot create file %s") with the path, then the system's reason ("No space left on
// device", "Read-only file system", "Is a directory") when one is known.
std::string fileFailureText(const std::string& pattern, const std::string& path, int error);

// The one rule for what stands under a file's name: why it cannot be taken for a file
// although something is there. EISDIR for a folder, kNotRegularFile for a pipe, a device
// or a socket, ELOOP for a loop of symbolic links; 0 for a regular file (through its links),
// for nothing at all and for a link to nothing (which a write creates).
int notAFileReason(const std::string& path);
// Whether error is one of the reasons above or kDanglingLink: the name holds something
// that is no file to read, as opposed to a file that is missing or may not be read.
bool isNotAFile(int error);

// Opens path with flags (O_RDONLY, O_WRONLY | O_APPEND | O_CREAT, ...) without ever waiting
// on a named pipe or a device: anything but a regular file is refused with its
// notAFileReason, a link to nothing opened for reading with kDanglingLink. Returns the
// descriptor (blocking, close-on-exec), or -1 with *error set.
int openRegularFile(const std::string& path, int flags, int* error);

// The whole file, or nothing when it cannot be opened or read (*error says why).
std::optional<std::string> readFileBytes(const std::string& path, int* error = nullptr);
// The same, handing the bytes read so far to grown after each block, while the newest of
// them are still in the processor's cache.
std::optional<std::string> readFileBytes(const std::string& path,
                                         const std::function<void(std::string_view)>& grown,
                                         int* error = nullptr);
// The whole file when it holds at most maxBytes; a larger one is refused with kFileTooLarge,
// before a byte of it is read when its size already says so.
std::optional<std::string> readFileBytesUpTo(const std::string& path, std::size_t maxBytes,
                                             int* error = nullptr);
std::optional<std::vector<std::string>> readLines(const std::string& path, int* error = nullptr);

// Replaces the file whole: the bytes go to a temporary file in the same folder, which
// is renamed over the old one only after every write and the sync to disk succeeded, so a
// full disk or a failure never leaves half a file behind. Returns false (and leaves any
// old file byte for byte, with no temporary file) when it cannot be written; *error says
// why. Only a regular file (or a new one) is written: a pipe or device is refused.
bool writeFileAtomic(const std::string& path, std::string_view bytes, int* error = nullptr);
// The same for a file made of pieces, written in order as they stand (never joined first).
bool writePiecesAtomic(const std::string& path, std::span<const std::string_view> pieces,
                       int* error = nullptr);
bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                      int* error = nullptr);

}  // namespace rostrix
