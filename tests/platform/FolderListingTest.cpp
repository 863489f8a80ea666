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
