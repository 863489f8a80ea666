// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rostrix {

// The team package window's archive component. It packs files into a ZIP archive the
// way a team package is made: each file under its bare name, deflated at level 9, no
// folder entries, no recursion, no encryption, the files copied (never moved), and an
// archive that already exists opened and added to, an entry of the same name replaced.
// The archive is written whole or not at all: a failure leaves the old one as it was.
class ZipArchive {
public:
    // The component reports its own failures here (the window shows a message box).
    std::function<void(const std::string& text)> OnFailure;
    // Called while the archive is written, so windows stay alive.
    std::function<void()> Pump;

    // Compression level of every entry: 9, the highest.
    int AddCompLevel = 9;

    // The ZIP writer and reader are part of the program; loading them makes them usable
    // by this component and unloading stops it writing until the next load.
    void LoadZipLib();
    void LoadUnzipLib();
    void UnloadZipLib();
    void UnloadUnzipLib();
    bool zipLibLoaded() const { return zipLoaded_; }
    bool unzipLibLoaded() const { return unzipLoaded_; }

    // Sets the archive name and reads the directory of an archive that already exists
    // under it (an empty directory when there is none or it cannot be read).
    void setZipFileName(const std::string& name);
    const std::string& ZipFileName() const { return zipFileName_; }
    // The archive under the name is not added to: the next Add that writes anything makes
    // a new archive, which replaces the old one only once it is complete. Setting a name
    // ends this.
    void startAfresh();
    // Entry names of the archive as last read.
    const std::vector<std::string>& entries() const { return entries_; }

    // The files for the next Add; Add empties it when it ends.
    std::vector<std::string> FSpecArgs;

    // Writes the listed files into the archive and returns the count of files added
    // (an entry replaced counts as added; a name listed twice is one entry). A file that
    // cannot be read is left out and the others still go in; why is kept in leftOut() and
    // as the last message. Failures of the whole call are reported through OnFailure and
    // give 0.
    int Add();
    int count() const { return count_; }
    // The files the last Add left out, each with its cause ("<path> is not a regular file").
    const std::vector<std::string>& leftOut() const { return leftOut_; }

    // The last message that arrived while working: a code and its text; the code is
    // kReported when the last Add failed as a whole and said so through OnFailure.
    static constexpr int kReported = -1;
    int lastErrorCode() const { return lastErrorCode_; }
    const std::string& lastMessage() const { return lastMessage_; }

    // A folder name with a trailing separator, added only when missing.
    static std::string AppendSlash(const std::string& folder);

private:
    void fail(const std::string& text);
    void keep(int code, const std::string& text);
    void leaveOut(int code, const std::string& text);
    void readDirectory();

    bool zipLoaded_ = false;
    bool unzipLoaded_ = false;
    bool afresh_ = false;
    std::string zipFileName_;
    std::vector<std::string> entries_;
    int count_ = 0;
    int lastErrorCode_ = 0;
    std::string lastMessage_;
    std::vector<std::string> leftOut_;
};

}  // namespace rostrix
