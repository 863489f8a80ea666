// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FolderListing.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

TEST(FolderListing, TakesTheExtensionInAnyCaseInCaseInsensitiveOrder) {
    test::TempFolder dir;
    for (const char* name : {"b.DAT", "a.dat", "A.dat", "27ALnya.Dat", "c.txt", "d.dat.bak", "dat"})
        dir.write(name, "x");
    std::filesystem::create_directory(dir.file("folder.dat"));
    using Names = std::vector<std::string>;
    EXPECT_EQ(listFilesInFolder(dir.path(), "dat"),
              (Names{"27ALnya.Dat", "A.dat", "a.dat", "b.DAT"}));
    EXPECT_EQ(listFilesInFolder(dir.path()),
              (Names{"27ALnya.Dat", "A.dat", "a.dat", "b.DAT", "c.txt", "d.dat.bak", "dat"}));
    EXPECT_TRUE(listFilesInFolder(dir.file("missing"), "dat").empty());
    EXPECT_TRUE(listFilesInFolder("", "dat").empty());
}

TEST(FolderListing, EntriesAreEveryFileAndFolderButTheDots) {
    test::TempFolder dir;
    for (const char* name : {"b.dat", "A.DAT", "notes.txt", "_x"}) dir.write(name, "x");
    std::filesystem::create_directory(dir.file("Leagues"));
    EXPECT_EQ(listFolderEntries(dir.path()),
              (std::vector<std::string>{"_x", "A.DAT", "b.dat", "Leagues", "notes.txt"}));
    EXPECT_TRUE(listFolderEntries(dir.file("missing")).empty());
}

}  // namespace
}  // namespace rostrix

namespace rostrix {
namespace {

// A path handed back by a dialog as it showed (U+FFFD for each byte that is not UTF-8)
// finds the file by its own bytes, in the file name or a folder on the way.
TEST(FolderListing, AShownPathFindsTheBytesOnDisk) {
    test::TempFolder dir;
    dir.write("Jos\xe9.dat", "x");
    dir.write("plain.dat", "x");
    dir.write("M\xfcller.dat", "x");
    dir.write("M\xfdller.dat", "x");  // shows as the same text as the one above
    std::filesystem::create_directory(dir.file("Z\xfcrich"));
    const std::string shown = "\xef\xbf\xbd";  // U+FFFD in UTF-8
    struct Case {
        std::string shownPath;
        std::string onDisk;
    };
    const Case cases[] = {
        {dir.file("Jos" + shown + ".dat"), dir.file("Jos\xe9.dat")},
        {dir.file("plain.dat"), dir.file("plain.dat")},
        {dir.file("Jos\xe9.dat"), dir.file("Jos\xe9.dat")},
        {dir.file("new.dat"), dir.file("new.dat")},
        {dir.file("M" + shown + "ller.dat"), dir.file("M" + shown + "ller.dat")},  // which one?
        {dir.file("Z" + shown + "rich/new.dat"), dir.file("Z\xfcrich/new.dat")},
        {dir.file("Z" + shown + "rich"), dir.file("Z\xfcrich")},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(pathOnDisk(c.shownPath), c.onDisk) << c.shownPath;
    EXPECT_EQ(shownName("Jos\xe9.dat"), "Jos" + shown + ".dat");
}

}  // namespace
}  // namespace rostrix
