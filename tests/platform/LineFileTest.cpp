// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/LineFile.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

TEST(LineFile, SplitsOnEveryKindOfLineEnd) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"a\n\rb", {"a", "", "b"}},
        {"x\r\r\ny", {"x", "", "y"}},
        {std::string("\xe9\0z", 3), {std::string("\xe9\0z", 3)}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.bytes), c.lines) << c.bytes;
}

TEST(LineFile, WritesCrLfAfterEveryLineAndReplacesWhole) {
    test::TempFolder dir;
    const auto path = dir.file("t.dat");
    dir.write("t.dat", "old contents that are longer\n");
    ASSERT_TRUE(writeLinesAtomic(path, {"a", "", "b"}));
    EXPECT_EQ(dir.read("t.dat"), "a\r\n\r\nb\r\n");
    ASSERT_TRUE(writeLinesAtomic(path, {}));
    EXPECT_EQ(dir.read("t.dat"), "");
}

TEST(LineFile, UnwritableTargetsFailAndKeepTheOldFile) {
    test::TempFolder dir;
    EXPECT_FALSE(writeFileAtomic(dir.file("no/such/folder.dat"), "x"));
    EXPECT_FALSE(writeFileAtomic(dir.path(), "x"));  // a folder
    EXPECT_FALSE(writeFileAtomic("/dev/full", "x"));
    dir.write("ro.dat", "keep");
    std::filesystem::permissions(dir.file("ro.dat"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(writeFileAtomic(dir.file("ro.dat"), "new"));
    EXPECT_EQ(dir.read("ro.dat"), "keep");
    EXPECT_FALSE(readLines(dir.file("missing.dat")).has_value());
    EXPECT_FALSE(readLines(dir.path()).has_value());
}

}  // namespace
}  // namespace rostrix

namespace rostrix {
namespace {

// Files are opened by the bytes of their names; a replaced file keeps its mode, a link
// stays a link to the file it names, and nothing is left beside the file.
TEST(LineFile, NamesAreBytesAndALinkStaysALink) {
    test::TempFolder dir;
    std::filesystem::create_directory(dir.file("Z\xfcrich"));
    const std::string odd = dir.file("Z\xfcrich/Jos\xe9.dat");
    ASSERT_TRUE(writeFileAtomic(odd, "first"));
    EXPECT_EQ(readFileBytes(odd), "first");
    std::filesystem::permissions(odd, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::owner_write |
                                          std::filesystem::perms::group_read);
    ASSERT_TRUE(writeFileAtomic(odd, "second"));
    EXPECT_EQ(readFileBytes(odd), "second");
    EXPECT_EQ(std::filesystem::status(odd).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);

    dir.write("b.dat", "team");
    std::filesystem::create_symlink("b.dat", dir.file("link.dat"));
    ASSERT_TRUE(writeFileAtomic(dir.file("link.dat"), "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.dat")));
    EXPECT_EQ(dir.read("b.dat"), "through the link");
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Z\xfcrich", "b.dat", "link.dat"}));
}

}  // namespace
}  // namespace rostrix
