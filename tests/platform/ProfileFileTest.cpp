// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/Error.h"
#include "platform/ProfileFile.h"
#include "support/core/ErrorOf.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

namespace fs = std::filesystem;

const std::string P = "Smith, John       ";
const std::string K1 = "Year Team        =";
const std::string V1 = " P  AB Hit  2B 3B HR";
const std::string K2 = "2000 Oakland     =";
const std::string V2 = " 1 520 150  30  2 25";
const std::string A = "/home/u/teams/27ALnya.dat";
const std::string kPlayerFile =
    "[Smith, John]\r\nYear Team        == P  AB Hit  2B 3B HR\r\n"
    "2000 Oakland     == 1 520 150  30  2 25\r\n";

struct W {
    std::string section, key, value;
};

struct WriteCase {
    const char* name;
    std::optional<std::string> initial;  // nothing: no file
    std::vector<W> writes;
    std::string expect;
};

// A literal's bytes, NULs included.
template <std::size_t N>
std::string bytes(const char (&s)[N]) {
    return std::string(s, N - 1);
}

const std::vector<WriteCase>& writeCases() {
    static const std::vector<WriteCase> cases = {
        {"V01 fresh settings file",
         std::nullopt,
         {{"Directories", "Home", "/home/u"},
          {"Directories", "Perl", "/usr/bin/perl"},
          {"Directories", "Database", "/home/u/db"},
          {"Settings", "Auto File Name", "1"},
          {"Settings", "Show Menus", "0"}},
         "[Directories]\r\nHome=/home/u\r\nPerl=/usr/bin/perl\r\nDatabase=/home/u/db\r\n"
         "[Settings]\r\nAuto File Name=1\r\nShow Menus=0\r\n"},
        {"V02 case-insensitive match keeps the file's casing",
         "[Settings]\r\nShow Menus=1\r\nAuto File Name=0\r\n",
         {{"SETTINGS", "show menus", "0"}},
         "[Settings]\r\nShow Menus=0\r\nAuto File Name=0\r\n"},
        {"V03 player entries, first write", std::nullopt, {{P, K1, V1}, {P, K2, V2}}, kPlayerFile},
        {"V04 player entries again, then a changed value",
         kPlayerFile,
         {{P, K1, V1}, {P, K2, V2}, {P, K1, " P  AB Hit  2B 3B XX"}},
         "[Smith, John]\r\nYear Team        == P  AB Hit  2B 3B XX\r\n"
         "2000 Oakland     == 1 520 150  30  2 25\r\n"},
        {"V06 archive entries with blanks and empty values",
         std::nullopt,
         {{A, "Line 0", "  ABC   DEF  "},
          {A, "Line 1", ""},
          {A, "Line 2", "     "},
          {A, "Line 3", "x = y"},
          {"Untitled.dat", "Line 0", "Z"}},
         "[/home/u/teams/27ALnya.dat]\r\nLine 0=  ABC   DEF  \r\nLine 1=\r\nLine 2=     \r\n"
         "Line 3=x = y\r\n[Untitled.dat]\r\nLine 0=Z\r\n"},
        {"V07 a key that is a prefix of another",
         "[f]\r\nLine 10=a\r\n",
         {{"f", "Line 1", "b"}},
         "[f]\r\nLine 10=a\r\nLine 1=b\r\n"},
        {"V09 blanks around section and key",
         std::nullopt,
         {{"  Sp  ", "  kk  ", "v"}},
         "[Sp]\r\nkk=v\r\n"},
        {"V10 placement after comments, before blank lines, new section at the end",
         "; top comment\r\npre=1\r\n\r\n[A]\r\nk1=v1\r\n; a comment\r\n\r\n\r\n[B]\r\nk2=v2\r\n",
         {{"A", "k3", "v3"}, {"C", "k4", "v4"}},
         "; top comment\r\npre=1\r\n\r\n[A]\r\nk1=v1\r\n; a comment\r\nk3=v3\r\n\r\n\r\n[B]\r\n"
         "k2=v2\r\n[C]\r\nk4=v4\r\n"},
        {"V11 LF file, new key",
         "[A]\nk1=v1\n[B]\nk2=v2\n",
         {{"A", "k3", "v3"}},
         "[A]\nk1=v1\nk3=v3\r\n[B]\nk2=v2\n"},
        {"V11 LF file, same value",
         "[A]\nk1=v1\n[B]\nk2=v2\n",
         {{"A", "k1", "v1"}},
         "[A]\nk1=v1\n[B]\nk2=v2\n"},
        {"V11 LF file, changed value",
         "[A]\nk1=v1\n[B]\nk2=v2\n",
         {{"A", "k1", "V1"}},
         "[A]\nk1=V1\n[B]\nk2=v2\n"},
        {"V13 byte-order mark kept",
         "\xEF\xBB\xBF[A]\r\nk=v\r\n",
         {{"A", "k2", "v2"}},
         "\xEF\xBB\xBF[A]\r\nk=v\r\nk2=v2\r\n"},
        {"V14 only the first of two sections",
         "[A]\r\nk=1\r\n[B]\r\nx=1\r\n[A]\r\nk=2\r\nj=3\r\n",
         {{"A", "j", "9"}},
         "[A]\r\nk=1\r\nj=9\r\n[B]\r\nx=1\r\n[A]\r\nk=2\r\nj=3\r\n"},
        {"V15 the first of two keys",
         "[A]\r\nk=1\r\nK=2\r\n",
         {{"A", "k", "3"}},
         "[A]\r\nk=3\r\nK=2\r\n"},
        {"V17 no final line end, new section",
         "[A]\r\nk=1",
         {{"B", "x", "2"}},
         "[A]\r\nk=1\r\n[B]\r\nx=2\r\n"},
        {"V17 no final line end, replaced line",
         "[s]\r\nkey=value",
         {{"s", "KEY", "value2"}},
         "[s]\r\nkey=value2\r\n"},
        {"no final line end, key added after it",
         "[A]\r\nk=1",
         {{"A", "n", "2"}},
         "[A]\r\nk=1\r\nn=2\r\n"},
        {"V18 header variants kept",
         "  [ Sp ]  \r\nk=1\r\n[Tr]junk\r\nk=2\r\n",
         {{"sp", "k", "9"}},
         "  [ Sp ]  \r\nk=9\r\n[Tr]junk\r\nk=2\r\n"},
        {"V19 blank line between sections survives",
         "[A]\r\nk=1\r\n\r\n[B]\r\n",
         {{"A", "n", "2"}, {"B", "m", "3"}},
         "[A]\r\nk=1\r\nn=2\r\n\r\n[B]\r\nm=3\r\n"},
        {"a changed last entry, a key after it, blank lines kept at the end",
         "[A]\r\nk=1\r\n\r\n",
         {{"A", "k", "5"}, {"A", "n", "2"}, {"B", "x", "1"}},
         "[A]\r\nk=5\r\nn=2\r\n\r\n[B]\r\nx=1\r\n"},
        {"keys go in write order into a section made in this session",
         "[A]\r\n",
         {{"N", "b", "1"}, {"A", "x", "1"}, {"n", "a", "2"}, {"N", "B", "3"}},
         "[A]\r\nx=1\r\n[N]\r\nb=3\r\na=2\r\n"},
        {"a lone CR as the last byte ends the last line",
         "[\n\r",
         {{"s", "k", "v"}},
         "[\n\r[s]\r\nk=v\r\n"},
        {"a lone CR as the last byte, key added to that section",
         "[s]\r\na=1\r",
         {{"s", "b", "2"}, {"s", "a", "3"}},
         "[s]\r\na=3\rb=2\r\n"},
        {"bytes outside ASCII are kept and compared exactly",
         bytes("[\xC4]\r\nk=\xE9\0x\r\n"),
         {{"\xE4", "k", "1"}, {"\xC4", "k", bytes("\xE9\0x")}},
         bytes("[\xC4]\r\nk=\xE9\0x\r\n[\xE4]\r\nk=1\r\n")},
    };
    return cases;
}

// The writes gathered and saved once into gathered.ini, and saved one by one into
// single.ini, each file starting as initial.
void writeBothWays(const test::TempFolder& dir, const std::optional<std::string>& initial,
                   const std::vector<W>& writes) {
    if (initial) {
        dir.write("gathered.ini", *initial);
        dir.write("single.ini", *initial);
    }
    ProfileFile gathered(dir.file("gathered.ini"));
    for (const auto& w : writes) gathered.write(w.section, w.key, w.value);
    EXPECT_TRUE(gathered.save());
    for (const auto& w : writes)
        ProfileFile(dir.file("single.ini")).writeNow(w.section, w.key, w.value);
}

// All of a case's writes gathered and saved once, and saved one by one, give its bytes.
TEST(ProfileFile, WritesGiveTheExactBytesGatheredOrOneByOne) {
    for (const auto& c : writeCases()) {
        test::TempFolder dir;
        writeBothWays(dir, c.initial, c.writes);
        EXPECT_EQ(dir.read("gathered.ini"), c.expect) << c.name;
        EXPECT_EQ(dir.read("single.ini"), c.expect) << c.name;
    }
}

struct ReadCase {
    std::string initial;
    std::string section, key;
    const char* def;
    std::string expect;
};

TEST(ProfileFile, ReadsValuesAsTheClassicCallsDo) {
    const std::string v06 =
        "[/home/u/teams/27ALnya.dat]\r\nLine 0=  ABC   DEF  \r\nLine 1=\r\nLine 2=     \r\n"
        "Line 3=x = y\r\n";
    const std::string v08 =
        "[S]\r\na=   v v   \r\nb=\"  q  \"\r\nc='x'\r\nd=\"unbalanced\r\ne=\r\nf\r\n  g   =  h  "
        "\r\n";
    const std::string v16 = "[A]\r\nempty=\r\nnoeq\r\n";
    const std::string twoSections = "[A]\r\nk=1\r\n[B]\r\nx=1\r\n[A]\r\nk=2\r\nj=3\r\n";
    const ReadCase cases[] = {
        {"[Settings]\r\nShow Menus=0\r\n", "sEtTiNgS", "SHOW MENUS", "dflt", "0"},
        {"[Smith, John]\r\nYear Team        == P  AB Hit\r\n", P, K1, "dflt", "P  AB Hit"},
        {"[Smith, John]\r\nYear Team        == P  AB Hit\r\n", "smith, john", "year team", "dflt",
         "= P  AB Hit"},
        {v06, A, "Line 0", "dflt", "ABC   DEF"},
        {v06, A, "Line 1", "dflt", ""},
        {v06, A, "Line 2", "dflt", ""},
        {v06, A, "Line 3", "dflt", "x = y"},
        {v06, A, "Line 9", "dflt", "dflt"},
        {v06, "/HOME/U/TEAMS/27alnya.DAT", "line 0", "dflt", "ABC   DEF"},
        {"[f]\r\nLine 10=a\r\n", "f", "Line 1", "dflt", "dflt"},
        {v08, "S", "a", "dflt", "v v"},
        {v08, "S", "b", "dflt", "  q  "},
        {v08, "S", "c", "dflt", "x"},
        {v08, "S", "d", "dflt", "\"unbalanced"},
        {v08, "S", "e", "dflt", ""},
        {v08, "S", "f", "dflt", "dflt"},
        {v08, "S", "g", "dflt", "h"},
        {v08, "S", " g ", "dflt", "h"},
        {v08, "S", "zz", "dflt   ", "dflt"},
        {"; top comment\r\npre=1\r\n\r\n[A]\r\nk1=v1\r\n", "", "pre", "dflt", "dflt"},
        {"; c=1\r\n[A]\r\n;k=2\r\n", "A", ";k", "dflt", "dflt"},
        {"[A]\nk1=v1\n[B]\nk2=v2\n", "B", "k2", "dflt", "v2"},
        {"[A]\rk1=v1\r[B]\rk2=v2\r", "A", "k1", "dflt", "v1"},
        {"[A]\rk1=v1\r[B]\rk2=v2\r", "B", "k2", "dflt", "v2"},
        {"\xEF\xBB\xBF[A]\r\nk=v\r\n", "A", "k", "dflt", "v"},
        {twoSections, "A", "k", "d", "1"},
        {twoSections, "A", "j", "d", "d"},
        {"[A]\r\nk=1\r\nK=2\r\n", "A", "k", "d", "1"},
        {v16, "A", "empty", "dflt", ""},
        {v16, "A", "noeq", "dflt", "dflt"},
        {v16, "A", "missing", "dflt", "dflt"},
        {v16, "Z", "k", "dflt", "dflt"},
        {v16, "A", "missing", nullptr, ""},
        {"  [ Sp ]  \r\nk=1\r\n[Tr]junk\r\nk=2\r\n", "Sp", "k", "d", "1"},
        {"  [ Sp ]  \r\nk=1\r\n[Tr]junk\r\nk=2\r\n", "Tr", "k", "d", "2"},
        {"[A]\r\nk = 'x' \r\n", "A", "K", "d", "x"},
        {"[\n\r", "", "missing", "d", "d"},
        {"[s]\r\na=1\r", "s", "missing", "d", "d"},
        {"[s]\r\na=1\r", "s", "a", "d", "1"},
    };
    for (const auto& c : cases) {
        test::TempFolder dir;
        dir.write("r.ini", c.initial);
        EXPECT_EQ(ProfileFile(dir.file("r.ini")).read(c.section, c.key, c.def), c.expect)
            << c.initial << " [" << c.section << "] " << c.key;
    }
}

// Every short file over the bytes that shape an INI file: nothing but the program's own
// error leaves a read, a write or a save, and what was written reads back afterwards.
TEST(ProfileFile, AnyFileReadsAndTakesWritesWithoutStrayExceptions) {
    constexpr std::string_view kAlphabet = "[]s=a\r\n ;";
    std::uint32_t seed = 12345;
    const auto nextRandom = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    test::TempFolder dir;
    for (int round = 0; round < 3000; ++round) {
        std::string text(nextRandom() % 13, ' ');
        for (char& c : text) c = kAlphabet[nextRandom() % kAlphabet.size()];
        dir.write("f.ini", text);
        try {
            ProfileFile f(dir.file("f.ini"));
            EXPECT_EQ(f.read("s", "zz", "d"), "d") << ::testing::PrintToString(text);
            (void)f.read("s", "a", "d");
            (void)f.read("", "a", nullptr);
            f.write("s", "a", "v");
            f.write("s", "zz", "w");
            f.write("t", "k", "x");
            ASSERT_TRUE(f.save());
            const ProfileFile again(dir.file("f.ini"));
            EXPECT_EQ(again.read("s", "zz", "d"), "w") << ::testing::PrintToString(text);
            EXPECT_EQ(again.read("s", "a", "d"), "v") << ::testing::PrintToString(text);
            EXPECT_EQ(again.read("t", "k", "d"), "x") << ::testing::PrintToString(text);
        } catch (const Error&) {
            ADD_FAILURE() << "a plain file in a writable folder must be written";
        } catch (const std::exception& e) {
            FAIL() << e.what() << " for " << ::testing::PrintToString(text);
        }
    }
}

TEST(ProfileFile, LineBreaksInANameOrValueAreRefused) {
    const std::string kept = "[A]\r\nk=1\r\n";
    const W writes[] = {
        {"A\nB", "k", "2"}, {"A", "k\r", "2"}, {"A", "k", "2\r\nx=3"},
        {"A", "k", "\n"},   {"\rB", "k", "2"}, {"A", "new\nkey", "2"},
    };
    test::TempFolder dir;
    dir.write("f.ini", kept);
    const std::string expect = "Unable to write to " + dir.file("f.ini") +
                               ": a section name, key or value holds a line break";
    for (const W& w : writes) {
        ProfileFile f(dir.file("f.ini"));
        EXPECT_EQ(test::errorOf([&] { f.write(w.section, w.key, w.value); }), expect)
            << w.section << "/" << w.key << "/" << w.value;
        EXPECT_EQ(f.read("A", "k", "d"), "1");
        EXPECT_TRUE(f.save());
        EXPECT_EQ(test::errorOf([&] { f.writeNow(w.section, w.key, w.value); }), expect);
        EXPECT_EQ(dir.read("f.ini"), kept);
    }
}

TEST(ProfileFile, ReadsWhatItWroteBeforeSaving) {
    test::TempFolder dir;
    ProfileFile f(dir.file("p.dat"));
    f.write(P, K1, V1);
    f.write("Other", "k", "1");
    f.write(P, K2, V2);
    f.write(P, K2, " 2 600");
    EXPECT_EQ(f.read(P, K1, "d"), "P  AB Hit  2B 3B HR");
    EXPECT_EQ(f.read("SMITH, JOHN", K2, "d"), "2 600");
    EXPECT_EQ(f.read("Other", "K", "d"), "1");
    EXPECT_FALSE(dir.exists("p.dat"));
}

// Found by fuzzing: the second write matched "z==" as it was read, took its separator
// position to the rewritten "z=a" and left "z=ab" behind.
TEST(ProfileFile, ALineRewrittenInTheSameActionIsMatchedAsItNowStands) {
    test::TempFolder dir;
    dir.write("p.ini", "[1]\r\nz==\r\n");
    ProfileFile f(dir.file("p.ini"));
    f.write("1", "z", "a");
    f.write("1", "z=", "b");
    EXPECT_EQ(f.read("1", "z", "d"), "a");
    EXPECT_EQ(f.read("1", "z=", "d"), "b");
    EXPECT_TRUE(f.save());
    EXPECT_EQ(dir.read("p.ini"), "[1]\r\nz=a\r\nz==b\r\n");
}

TEST(ProfileFile, FindsEveryOneOfManySectionsAgain) {
    test::TempFolder dir;
    std::string initial;
    for (int i = 0; i < 300; ++i)
        initial += "[Name " + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    initial += "[NAME 7]\r\nk=second\r\n";
    dir.write("many.ini", initial);
    ProfileFile f(dir.file("many.ini"));
    for (int i = 0; i < 300; i += 7)
        f.write("name " + std::to_string(i), "K", std::string("w").append(std::to_string(i)));
    for (int i = 300; i < 600; ++i) f.write("Name " + std::to_string(i), "k", std::to_string(i));
    ASSERT_TRUE(f.save());
    const ProfileFile again(dir.file("many.ini"));
    for (int i = 0; i < 600; ++i) {
        const std::string expect = (i < 300 && i % 7 == 0 ? "w" : "") + std::to_string(i);
        ASSERT_EQ(again.read("NAME " + std::to_string(i), "k", "d"), expect) << i;
    }
    EXPECT_NE(dir.read("many.ini").find("[NAME 7]\r\nk=second\r\n[Name 300]"), std::string::npos);
}

// Sets the modification time well into the past, so a rewrite cannot hide within the
// file system's time resolution.
fs::file_time_type agePast(const std::string& path) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(path, old);
    return fs::last_write_time(path);
}

TEST(ProfileFile, EqualValuesDoNotRewriteTheFile) {
    const std::pair<std::string, std::vector<W>> cases[] = {
        {kPlayerFile, {{P, K1, V1}, {P, K2, V2}}},                             // V04
        {"[A]\nk1=v1\n[B]\nk2=v2\n", {{"A", "k1", "v1"}, {"b", "K2", "v2"}}},  // V11
    };
    for (const auto& [initial, writes] : cases) {
        test::TempFolder dir;
        dir.write("f.ini", initial);
        const auto before = agePast(dir.file("f.ini"));
        for (const auto& w : writes)
            ProfileFile(dir.file("f.ini")).writeNow(w.section, w.key, w.value);
        ProfileFile gathered(dir.file("f.ini"));
        for (const auto& w : writes) gathered.write(w.section, w.key, w.value);
        EXPECT_TRUE(gathered.save());
        EXPECT_EQ(fs::last_write_time(dir.file("f.ini")), before) << initial;
        EXPECT_EQ(dir.read("f.ini"), initial);
    }
}

TEST(ProfileFile, ReadingNeverCreatesTheFile) {
    test::TempFolder dir;
    ProfileFile f(dir.file("none.ini"));
    EXPECT_EQ(f.read("A", "k", "dflt"), "dflt");
    EXPECT_TRUE(f.save());
    EXPECT_FALSE(dir.exists("none.ini"));
}

TEST(ProfileFile, FailedWritesLeaveTheFileAsItWas) {
    test::TempFolder dir;
    const std::string kept = "[A]\r\nk=1\r\n";
    const auto expectUnwritable = [](const std::string& path, const std::string& why) {
        try {
            ProfileFile(path).writeNow("A", "k", "1");
            ADD_FAILURE() << path << " was written";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      why.starts_with(":") ? "Unable to write to " + path + why : path + why);
        }
    };
    // A read-only file: a changed value fails, an equal one needs no write at all.
    dir.write("ro.ini", kept);
    fs::permissions(dir.file("ro.ini"), fs::perms::owner_read);
    ProfileFile ro(dir.file("ro.ini"));
    ro.write("A", "k", "2");
    ro.write("B", "x", "3");
    EXPECT_FALSE(ro.save());
    EXPECT_EQ(dir.read("ro.ini"), kept);
    EXPECT_NO_THROW(ProfileFile(dir.file("ro.ini")).writeNow("A", "k", "1"));
    // The path is a folder; the folder does not exist; a device that is full.
    fs::create_directory(dir.file("folder.ini"));
    expectUnwritable(dir.file("folder.ini"), ": Is a directory");
    EXPECT_TRUE(fs::is_empty(dir.file("folder.ini")));
    expectUnwritable(dir.file("missing/p.ini"), ": No such file or directory");
    EXPECT_FALSE(dir.exists("missing"));
    expectUnwritable("/dev/full", " is not a regular file");
    // Something there that cannot be read is never replaced (and a pipe never blocks us).
    ASSERT_EQ(::mkfifo(dir.file("pipe.ini").c_str(), 0644), 0);
    expectUnwritable(dir.file("pipe.ini"), " is not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe.ini")));
    // Nothing else was left in the folder (no temporary file).
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

}  // namespace
}  // namespace rostrix

namespace rostrix {
namespace {

// Names and keys that a read of the file sees otherwise than they were written (blanks
// other than spaces at their ends; keys that begin like a header or a comment) are found
// again: the same writes a second time leave the file byte for byte, gathered or one by
// one, and a changed value replaces the line it was written to.
TEST(ProfileFile, OddNamesAndKeysAreFoundAgain) {
    struct Case {
        const char* name;
        std::optional<std::string> initial;
        std::vector<W> writes;
    };
    const std::string oddSeason = "[999 Oakland     =";
    const Case cases[] = {
        {"tab before the section name",
         std::nullopt,
         {{"\tSmith, John", K1, V1}, {"\tSmith, John", K2, V2}}},
        {"blanks after the section name", std::nullopt, {{"Smith, John\t\v\f ", K1, V1}}},
        {"form feed before the name, spaces after", std::nullopt, {{"\fSmith, John   ", K2, V2}}},
        {"tab and vertical tab before a key", std::nullopt, {{P, "\t\v2000 Oakland     =", V2}}},
        {"a key like a header", std::nullopt, {{P, K1, V1}, {P, oddSeason, V2}, {P, K2, V2}}},
        {"a key like a comment", std::nullopt, {{P, ";999 Oakland     =", V2}, {P, K2, V2}}},
        {"a key like a header in a section read",
         kPlayerFile,
         {{P, oddSeason, V2}, {P, "2001 Boston      =", V2}}},
        {"two keys like headers, then a section after them",
         kPlayerFile,
         {{P, "[998 Oakland     =", V1}, {P, oddSeason, V2}, {"Jones, Al", K2, V2}}},
    };
    for (const Case& c : cases) {
        test::TempFolder dir;
        writeBothWays(dir, c.initial, c.writes);
        const std::string once = dir.read("gathered.ini");
        EXPECT_EQ(dir.read("single.ini"), once) << c.name;

        ProfileFile again(dir.file("gathered.ini"));
        for (const auto& w : c.writes) {
            // Only a key that reads back as a comment or header stays unread.
            const bool readable = w.key.front() != '[' && w.key.front() != ';';
            EXPECT_EQ(again.read(w.section, w.key, "missing") != "missing", readable)
                << c.name << w.key;
            again.write(w.section, w.key, w.value);
        }
        ASSERT_TRUE(again.save()) << c.name;
        EXPECT_EQ(dir.read("gathered.ini"), once) << c.name;

        const W& last = c.writes.back();
        ProfileFile(dir.file("gathered.ini")).writeNow(last.section, last.key, "changed");
        const std::string changed = dir.read("gathered.ini");
        EXPECT_EQ(changed.size(), once.size() - last.value.size() + 7) << c.name;
        EXPECT_NE(changed.find(last.key + "=changed"), std::string::npos) << c.name;
    }
}

}  // namespace
}  // namespace rostrix
