// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "names/NamePass.h"
#include "package/ZipArchive.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"
#include "support/core/ErrorOf.h"
#include "support/core/TinyFileSystem.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/PlayerArchive.h"
#include "teamfile/TeamArchive.h"

namespace rostrix {
namespace {

using test::TinyFileSystem;

constexpr const char* kFull = ": No space left on device";

// Bytes deflate cannot shrink, so an archive grows by about their size.
std::string noise(std::size_t size) {
    std::mt19937 random(7);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(random());
    return s;
}

// A team file of more than a page: the sample team with its players listed twice.
std::vector<std::string> bigTeam() {
    std::vector<std::string> lines = test::sampleTeam();
    const std::vector<std::string> sample = lines;
    lines.insert(lines.end(), sample.begin() + 1, sample.begin() + 21);
    return lines;
}

// One program file that gets replaced: what is there before, and the write that replaces
// it, giving the text the user is shown ("<no error>" when it worked).
struct Writer {
    const char* what;
    const char* file;
    std::string old;
    std::function<void(const TinyFileSystem&)> prepare;  // inputs the write reads
    std::function<std::string(const TinyFileSystem&)> write;
    std::function<std::string(const TinyFileSystem&)> error;
};

std::vector<Writer> writers() {
    return {
        {"settings", "qrdTeams.ini", "[Directories]\r\nHome=/home/ann/qrd\r\n", nullptr,
         [](const TinyFileSystem& fs) {
             return test::errorOf([&] {
                 ProfileFile(fs.file("qrdTeams.ini"))
                     .writeNow("Directories", "Database", std::string(6000, 'd'));
             });
         },
         [](const TinyFileSystem& fs) {
             return "Unable to write to " + fs.file("qrdTeams.ini") + kFull;
         }},
        {"names pass", "team.dat", joinLinesCrlf(bigTeam()), nullptr,
         [](const TinyFileSystem& fs) {
             return test::errorOf([&] { passAndSave(NamePass(), fs.file("team.dat"), bigTeam()); });
         },
         [](const TinyFileSystem& fs) {
             return "Cannot create file " + fs.file("team.dat") + kFull;
         }},
        {"team archive", "archive.dat", "[/old/team.dat]\r\nLine 0=old\r\n", nullptr,
         [](const TinyFileSystem& fs) {
             return test::errorOf(
                 [&] { writeTeamArchive(fs.file("archive.dat"), "/new/team.dat", bigTeam()); });
         },
         [](const TinyFileSystem& fs) {
             return "Unable to write to " + fs.file("archive.dat") + kFull;
         }},
        {"player archive", "player.dat", "[Old, Player       ]\r\n2000 OLD=x\r\n", nullptr,
         [](const TinyFileSystem& fs) {
             return test::errorOf(
                 [&] { writeAllPlayers(fs.file("player.dat"), bigTeam(), [](const char*) {}); });
         },
         [](const TinyFileSystem& fs) {
             return "Unable to write to " + fs.file("player.dat") + kFull;
         }},
        {"package", "pack.zip", "",
         [](const TinyFileSystem& fs) { fs.write("b.dat", noise(6000)); },
         [](const TinyFileSystem& fs) {
             ZipArchive zip;
             std::string report = "<no error>";
             zip.OnFailure = [&](const std::string& text) { report = text; };
             zip.LoadZipLib();
             zip.setZipFileName(fs.file("pack.zip"));
             zip.FSpecArgs = {fs.file("b.dat")};
             zip.Add();
             // The library's own reason follows the part that names the file.
             const auto reason = report.find(".zip: ");
             return reason == std::string::npos ? report : report.substr(0, reason + 4);
         },
         [](const TinyFileSystem& fs) {
             return "Cannot write the ZIP file " + fs.file("pack.zip");
         }},
    };
}

// An archive made elsewhere, to stand as the old package.
std::string oldPackage() {
    test::TempFolder dir;
    dir.write("a.dat", "the old team");
    ZipArchive zip;
    zip.LoadZipLib();
    zip.setZipFileName(dir.file("pack.zip"));
    zip.FSpecArgs = {dir.file("a.dat")};
    zip.Add();
    return dir.read("pack.zip");
}

// A full disk, or one with a page left where the new file needs two, never empties or cuts
// the old file: it stays byte for byte, the user is told, and no temporary file is left.
// With room to spare the same writes go through, so the failures are the disk's doing.
TEST(FullDisk, EveryWriterLeavesTheOldFileWholeAndSaysSo) {
    if (const std::string why = TinyFileSystem::unavailable(); !why.empty()) GTEST_SKIP() << why;
    const std::string package = oldPackage();
    for (Writer w : writers()) {
        if (w.old.empty()) w.old = package;
        for (const std::size_t room : {std::size_t{0}, std::size_t{4096}, std::size_t{65536}}) {
            const std::string at = std::string(w.what) + " with " + std::to_string(room) + " free";
            TinyFileSystem fs(256 * 1024);
            ASSERT_TRUE(fs.mounted()) << at;
            fs.write(w.file, w.old);
            if (w.prepare) w.prepare(fs);
            fs.fillLeaving(room);
            const auto before = fs.entries();
            // With room to spare, the hidden file a killed earlier write left goes as well.
            if (room == 65536) fs.write("." + std::string(w.file) + ".rostrix-Left01", "half");
            const std::string shown = w.write(fs);
            EXPECT_EQ(fs.entries(), before) << at;
            if (room < 65536) {
                EXPECT_EQ(shown, w.error(fs)) << at;
                EXPECT_TRUE(fs.read(w.file) == w.old) << at;
            } else {
                EXPECT_EQ(shown, "<no error>") << at;
                // The write that failed above needs more than the page that was free.
                EXPECT_GT(fs.read(w.file).size(), 4096u) << at;
            }
        }
    }
}

}  // namespace
}  // namespace rostrix
