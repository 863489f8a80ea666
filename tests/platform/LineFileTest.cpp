#include <gtest/gtest.h>

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
