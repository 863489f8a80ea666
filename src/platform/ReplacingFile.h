// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// Replaces one file whole. The new bytes go to a temporary file in the same folder, which
// takes the file's name only after every write and the sync to disk succeeded; until then,
// and whenever anything fails, the old file stays byte for byte and the temporary file is
// removed. A symbolic link is followed: the file it points to is replaced, the link stays.
//
// The temporary file is named "." + the file's name + ".rostrix-" + six letters or digits
// and stays locked while it is written, so a later run can tell the leftover of a run that
// was killed (no lock) from one that is still being written (locked).
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file with the old file's permissions (a new file gets the
    // usual ones), after removing what killed earlier writes of the file left (see
    // removeLeftovers). False when it cannot be created.
    bool open();
    // Writes all of bytes at the current position, or returns false.
    bool write(std::string_view bytes);
    // The same for pieces in order, gathered into as few system calls as the system allows.
    bool write(std::span<const std::string_view> pieces);
    // The temporary file, for positioned writes; -1 when not open.
    int fd() const { return fd_; }
    // Syncs the temporary file and renames it over the file. On failure the temporary
    // file is removed and the old file is untouched.
    bool commit();
    // Drops the temporary file; the old file stays.
    void discard();

    // errno of the first failure, 0 when none.
    int errorNumber() const { return error_; }
    // The file that is replaced: the path given, or the file its link points to.
    const std::string& target() const { return target_; }

    // Whether entry (a bare name) has the shape of this writer's temporary files for path.
    static bool isTemporaryNameFor(const std::string& path, const std::string& entry);
    // Removes the temporary files beside path that earlier runs left when they were killed:
    // plain files of the current user with that shape that no running writer holds.
    static void removeLeftovers(const std::string& path);
    // The same for a whole folder, at the program's start: the temporary files of every
    // file there, the entries named in names, and those named by one of prefixes followed
    // by six letters, digits or "_" (a helper's temporary files). A folder, a symbolic
    // link, another user's file or a file a running writer holds locked stays.
    static void removeLeftoversIn(const std::string& folder, const std::vector<std::string>& names,
                                  const std::vector<std::string>& prefixes);

private:
    bool fail();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    int error_ = 0;
};

// Flushes a file that is already written to disk; false (errno set) when it fails.
bool syncFile(const std::string& path);

}  // namespace rostrix
