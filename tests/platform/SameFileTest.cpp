// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/SameFile.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

// Only a second name of a file already taken is left out: a link, relative or absolute,
// a hard link, but never a file that merely has the same bytes.
TEST(SameFile, EachFileIsTakenOnceUnderItsFirstName) {
    test::TempFolder dir;
    dir.write("b.dat", "team");
    dir.write("copy.dat", "team");
    dir.write("Jos\xe9.dat", "team");
    std::filesystem::create_symlink("b.dat", dir.file("link.dat"));
    std::filesystem::create_symlink(dir.file("Jos\xe9.dat"), dir.file("abs.dat"));
    std::filesystem::create_hard_link(dir.file("copy.dat"), dir.file("hard.dat"));
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> taken;
        std::vector<std::pair<std::string, std::string>> skipped;
    };
    const Case cases[] = {
        {{"b.dat", "copy.dat", "link.dat"}, {"b.dat", "copy.dat"}, {{"link.dat", "b.dat"}}},
        {{"link.dat", "b.dat"}, {"link.dat"}, {{"b.dat", "link.dat"}}},
        {{"abs.dat", "hard.dat", "Jos\xe9.dat", "copy.dat"},
         {"abs.dat", "hard.dat"},
         {{"Jos\xe9.dat", "abs.dat"}, {"copy.dat", "hard.dat"}}},
        // A name that cannot be looked at stays, for its reader to report.
        {{"gone.dat", "gone.dat", "b.dat"}, {"gone.dat", "gone.dat", "b.dat"}, {}},
    };
    for (const Case& c : cases) {
        const OnePerFile got = onePerFile(dir.path(), c.names);
        EXPECT_EQ(got.names, c.taken) << c.names.front();
        std::vector<std::pair<std::string, std::string>> skipped;
        for (const SameFile& s : got.skipped) skipped.emplace_back(s.name, s.sameAs);
        EXPECT_EQ(skipped, c.skipped) << c.names.front();
    }
}

}  // namespace
}  // namespace rostrix
