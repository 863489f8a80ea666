// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "package/ZipArchive.h"
#include "platform/FolderListing.h"
#include "platform/ReplacingFile.h"
#include "shell/RunLeftovers.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

// A loaded component writing into a temporary folder, recording its own reports.
struct Packer {
    TempFolder dir;
    ZipArchive zip;
    std::vector<std::string> reports;

    Packer() {
        zip.OnFailure = [this](const std::string& text) { reports.push_back(text); };
        zip.LoadZipLib();
        zip.LoadUnzipLib();
        zip.setZipFileName(dir.file("pack.zip"));
    }
    int add(const std::vector<std::string>& names) {
        for (const auto& n : names)
            zip.FSpecArgs.push_back(ZipArchive::AppendSlash(dir.path()) + n);
        return zip.Add();
    }
    std::vector<std::string> entries() {
        zip.setZipFileName(zip.ZipFileName());  // reads the directory again
        return zip.entries();
    }
};

TEST(ZipArchive, AppendSlashAddsOnlyWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann", "/home/ann/"}, {"/home/ann/", "/home/ann/"}, {"/", "/"}, {"", "/"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(ZipArchive::AppendSlash(in), out) << in;
}

TEST(ZipArchive, FailuresOfTheWholeCallAreReportedAndGiveZero) {
    struct Case {
        const char* what;
        std::function<void(Packer&)> setUp;
        const char* report;
    };
    const Case cases[] = {
        {"unloaded", [](Packer& p) { p.zip.UnloadZipLib(); },
         "The ZIP library is not loaded, so no files can be added."},
        {"no name", [](Packer& p) { p.zip.setZipFileName(""); }, "No ZIP file name is set."},
        {"nothing listed", [](Packer& p) { p.zip.FSpecArgs.clear(); },
         "There are no files to add."},
    };
    for (const auto& c : cases) {
        Packer p;
        p.dir.write("a.dat", "A");
        p.zip.FSpecArgs = {p.dir.file("a.dat")};
        c.setUp(p);
        EXPECT_EQ(p.zip.Add(), 0) << c.what;
        EXPECT_EQ(p.zip.count(), 0) << c.what;
        EXPECT_EQ(p.reports, std::vector<std::string>{c.report}) << c.what;
        EXPECT_TRUE(p.zip.FSpecArgs.empty()) << c.what;
        EXPECT_FALSE(p.dir.exists("pack.zip")) << c.what;
    }
}

// Files that cannot be packed are left out, the others go in, and each one left out is named
// with its cause for the window's outcome.
TEST(ZipArchive, UnreadableFilesAndFoldersAreLeftOutAndNamed) {
    Packer p;
    p.dir.write("a.dat", "A");
    p.dir.write("b.dat", "B");
    fs::create_directory(p.dir.file("sub"));
    p.dir.write("sub/inner.dat", "I");
    fs::create_symlink(p.dir.file("gone.dat"), p.dir.file("dangling.dat"));
    fs::create_symlink(p.dir.file("loop"), p.dir.file("loop"));
    ASSERT_EQ(mkfifo(p.dir.file("pipe").c_str(), 0600), 0);  // opening it would wait forever
    EXPECT_EQ(p.add({"a.dat", "sub", "pipe", "dangling.dat", "loop", "b.dat"}), 2);
    EXPECT_TRUE(p.reports.empty());
    EXPECT_EQ(p.zip.leftOut(),
              (std::vector<std::string>{
                  "Cannot read " + p.dir.file("sub") + ": Is a directory",
                  p.dir.file("pipe") + " is not a regular file",
                  p.dir.file("dangling.dat") + " is a symbolic link to a file that does not exist",
                  "Cannot read " + p.dir.file("loop") + ": Too many levels of symbolic links"}));
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"a.dat", "b.dat"}));

    // Nothing readable at all: no archive appears, nothing is reported.
    Packer q;
    fs::create_symlink(q.dir.file("gone.dat"), q.dir.file("dangling.dat"));
    EXPECT_EQ(q.add({"dangling.dat"}), 0);
    EXPECT_TRUE(q.reports.empty());
    EXPECT_FALSE(q.dir.exists("pack.zip"));
}

TEST(ZipArchive, AnExistingArchiveIsAddedToAndSameNamesReplaced) {
    Packer p;
    p.dir.write("a.dat", "A1");
    p.dir.write("b.dat", "B1");
    EXPECT_EQ(p.add({"a.dat", "b.dat"}), 2);
    p.dir.write("b.dat", "B2");
    p.dir.write("c.dat", "C1");
    // The directory of the existing archive is read when its name is set.
    ZipArchive fresh;
    fresh.setZipFileName(p.dir.file("pack.zip"));
    EXPECT_EQ(fresh.entries(), (std::vector<std::string>{"a.dat", "b.dat"}));

    EXPECT_EQ(p.add({"b.dat", "c.dat"}), 2);
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"a.dat", "b.dat", "c.dat"}));
    // The same file twice in one call is one entry; the same call again adds no copies.
    EXPECT_EQ(p.add({"c.dat", "c.dat"}), 1);
    EXPECT_EQ(p.add({"a.dat", "b.dat", "c.dat"}), 3);
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"a.dat", "b.dat", "c.dat"}));
    EXPECT_TRUE(fs::exists(p.dir.file("a.dat")));  // copied, not moved
    EXPECT_TRUE(p.reports.empty());
}

TEST(ZipArchive, AFailedWriteLeavesTheOldArchiveAsItWas) {
    Packer p;
    p.dir.write("a.dat", "A");
    ASSERT_EQ(p.add({"a.dat"}), 1);
    const std::string before = p.dir.read("pack.zip");

    // The second file vanishes while the archive is being written.
    p.dir.write("b.dat", "B");
    p.dir.write("c.dat", "C");
    int pumps = 0;
    p.zip.Pump = [&] {
        if (pumps++ == 0) fs::remove(p.dir.file("c.dat"));
    };
    EXPECT_EQ(p.add({"b.dat", "c.dat"}), 0);
    EXPECT_GT(pumps, 0);
    ASSERT_EQ(p.reports.size(), 1u);
    EXPECT_EQ(p.reports[0].rfind("Cannot write the ZIP file " + p.dir.file("pack.zip"), 0), 0u)
        << p.reports[0];
    EXPECT_EQ(p.dir.read("pack.zip"), before);
    // No temporary file is left beside it.
    EXPECT_EQ(listFolderEntries(p.dir.path()),
              (std::vector<std::string>{"a.dat", "b.dat", "pack.zip"}));

    // A file of that name that is no archive is not overwritten either.
    p.zip.Pump = nullptr;
    p.dir.write("pack.zip", "not a zip");
    p.reports.clear();
    EXPECT_EQ(p.add({"a.dat"}), 0);
    ASSERT_EQ(p.reports.size(), 1u);
    EXPECT_EQ(p.dir.read("pack.zip"), "not a zip");
}

// Names in the archive's folder that are not the archive's own temporary files.
std::vector<std::string> othersThanLeftovers(const TempFolder& dir) {
    std::vector<std::string> out;
    for (const std::string& name : listFolderEntries(dir.path()))
        if (!ReplacingFile::isTemporaryNameFor(dir.file("pack.zip"), name)) out.push_back(name);
    return out;
}

// A run killed while it writes leaves the old archive and a temporary file beside it; the
// next Zip File to the same archive removes that leftover, and only the leftovers of its
// own runs: not the library's look-alike names, not another archive's, not a folder, and
// not the file of a run that is still writing.
TEST(ZipArchive, TheNextZipFileRemovesWhatAKilledRunLeftAndNothingElse) {
    Packer p;
    p.dir.write("a.dat", "A");
    ASSERT_EQ(p.add({"a.dat"}), 1);
    const std::string before = p.dir.read("pack.zip");
    p.dir.write("b.dat", std::string(200000, 'b'));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        p.zip.Pump = [] { raise(SIGKILL); };
        p.add({"b.dat"});
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(p.dir.read("pack.zip"), before);
    const auto listed = listFolderEntries(p.dir.path());
    ASSERT_EQ(listed.size(), 4u);  // a.dat, b.dat, pack.zip and what the killed run left
    EXPECT_EQ(othersThanLeftovers(p.dir), (std::vector<std::string>{"a.dat", "b.dat", "pack.zip"}));

    const std::vector<std::string> strangers = {
        "pack.zip.AbC123",            // the library's own naming: may be the user's
        ".pack.zip.rostrix-AbC12",    // too short
        ".pack.zip.rostrix-AbC1234",  // too long
        ".pack.zip.rostrix-Ab_123",   // not letters and digits
        ".other.zip.rostrix-AbC123",  // another archive's
    };
    for (const auto& name : strangers) p.dir.write(name, "keep");
    p.dir.write(".pack.zip.rostrix-Fake12", "left by a killed run");
    fs::create_directory(p.dir.file(".pack.zip.rostrix-Dir123"));
    fs::create_symlink(p.dir.file("a.dat"), p.dir.file(".pack.zip.rostrix-Link12"));
    p.dir.write(".pack.zip.rostrix-Live12", "still being written");
    const int live = open(p.dir.file(".pack.zip.rostrix-Live12").c_str(), O_RDONLY);
    ASSERT_EQ(flock(live, LOCK_EX), 0);

    EXPECT_EQ(p.add({"b.dat"}), 1);
    close(live);
    std::vector<std::string> expected = strangers;
    for (const char* kept : {"a.dat", "b.dat", "pack.zip", ".pack.zip.rostrix-Dir123",
                             ".pack.zip.rostrix-Link12", ".pack.zip.rostrix-Live12"})
        expected.emplace_back(kept);
    std::sort(expected.begin(), expected.end());
    auto left = listFolderEntries(p.dir.path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, expected);
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"a.dat", "b.dat"}));

    // The next start sweeps the whole home folder: every file's leftover, the team builder's
    // and a kwyx.zip.part that no download holds go; the rest above stays, and so does what
    // a running writer or builder holds.
    for (const char* name : {".kalbrix8-Ab_12C", "kwyx.zip.part"}) p.dir.write(name, "left");
    p.dir.write(".kalbrix8-Live_1", "a builder still writing");
    const int held[] = {open(p.dir.file(".pack.zip.rostrix-Live12").c_str(), O_RDONLY),
                        open(p.dir.file(".kalbrix8-Live_1").c_str(), O_RDONLY)};
    for (const int fd : held) ASSERT_EQ(flock(fd, LOCK_EX), 0);
    removeRunLeftovers(p.dir.path());
    for (const int fd : held) close(fd);
    std::erase(expected, ".other.zip.rostrix-AbC123");
    expected.emplace_back(".kalbrix8-Live_1");
    std::sort(expected.begin(), expected.end());
    left = listFolderEntries(p.dir.path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, expected);
}

// After "start afresh" the old archive is not added to but replaced, and only by a write
// that went through: until then it stays as it was.
TEST(ZipArchive, StartingAfreshReplacesTheOldArchiveOnlyWhenTheNewOneIsComplete) {
    Packer p;
    for (const char* name : {"a.dat", "b.dat", "c.dat"}) p.dir.write(name, name);
    ASSERT_EQ(p.add({"a.dat"}), 1);
    const std::string before = p.dir.read("pack.zip");

    p.zip.startAfresh();
    EXPECT_TRUE(p.zip.entries().empty());
    p.zip.Pump = [&] { fs::remove(p.dir.file("c.dat")); };  // a file vanishes mid-write
    EXPECT_EQ(p.add({"b.dat", "c.dat"}), 0);
    EXPECT_EQ(p.reports.size(), 1u);
    EXPECT_EQ(p.dir.read("pack.zip"), before);
    EXPECT_EQ(othersThanLeftovers(p.dir), listFolderEntries(p.dir.path()));
    p.reports.clear();

    // The next write that goes through replaces the archive, and the one after that adds
    // to the new archive again.
    p.zip.Pump = nullptr;
    EXPECT_EQ(p.add({"b.dat"}), 1);
    EXPECT_EQ(p.zip.entries(), (std::vector<std::string>{"b.dat"}));
    EXPECT_EQ(p.add({"a.dat"}), 1);
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"b.dat", "a.dat"}));

    // A file that is no archive at all is replaced too; a new name ends the request.
    p.dir.write("pack.zip", "not a zip");
    p.zip.startAfresh();
    EXPECT_EQ(p.add({"a.dat"}), 1);
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"a.dat"}));
    p.zip.startAfresh();
    p.zip.setZipFileName(p.dir.file("pack.zip"));
    EXPECT_EQ(p.add({"b.dat"}), 1);
    EXPECT_EQ(p.entries(), (std::vector<std::string>{"a.dat", "b.dat"}));
    EXPECT_TRUE(p.reports.empty());
}

}  // namespace
}  // namespace rostrix
