// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ChooserFolder.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

namespace fs = std::filesystem;

// A folder as users have them: a team file copied from an old Windows disk (Latin-1
// name), upper-case extensions, hidden entries, links to a folder and to nowhere.
class ChooserFolder : public ::testing::Test {
protected:
    ChooserFolder() {
        for (const char* name : {"Jos\xe9.dat", "b.DAT", "a.ser", "notes.txt", ".hidden.dat"})
            dir.write(name, "x");
        fs::create_directory(dir.file("Leagues"));
        fs::create_directory(dir.file(".cache"));
        fs::create_directory_symlink(dir.file("Leagues"), dir.file("link"));
        fs::create_symlink(dir.file("gone"), dir.file("gone.dat"));
    }
    std::vector<std::string> names(const std::vector<std::string>& patterns, bool hidden,
                                   bool foldersOnly) const {
        std::vector<std::string> out;
        for (const ChooserEntry& e : chooserEntries(dir.path(), patterns, hidden, foldersOnly))
            out.push_back((e.folder ? "[" : "") + e.name);
        return out;
    }
    test::TempFolder dir;
};

TEST_F(ChooserFolder, ListsFoldersFirstThenMatchingFilesByTheirOwnBytes) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(names({"*.dat"}, false, false), (Names{"[Leagues", "[link", "b.DAT", "Jos\xe9.dat"}));
    EXPECT_EQ(names({"*.dat", "*.ser"}, false, false),
              (Names{"[Leagues", "[link", "a.ser", "b.DAT", "Jos\xe9.dat"}));
    EXPECT_EQ(names({}, false, false),
              (Names{"[Leagues", "[link", "a.ser", "b.DAT", "Jos\xe9.dat", "notes.txt"}));
    EXPECT_EQ(names({"*.dat"}, true, false),
              (Names{"[.cache", "[Leagues", "[link", ".hidden.dat", "b.DAT", "Jos\xe9.dat"}));
    EXPECT_EQ(names({"*.dat"}, false, true), (Names{"[Leagues", "[link"}));
    EXPECT_TRUE(chooserEntries(dir.file("missing"), {}, true, false).empty());
}

TEST(ChooserPatterns, MatchWildcardsWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"team.dat", "*.dat", true},
        {"27ALNYA.DAT", "*.dat", true},
        {"team.dat.bak", "*.dat", false},
        {"dat", "*.dat", false},
        {".dat", "*.dat", true},
        {"a1.ser", "a?.ser", true},
        {"a12.ser", "a?.ser", false},
        {"abcabd", "*ab?", true},
        {"x", "*", true},
        {"", "*", true},
        {"", "?", false},
        {"Jos\xe9.dat", "jos?.DAT", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
    EXPECT_EQ(filterPatterns("*.dat;*.ser"), (std::vector<std::string>{"*.dat", "*.ser"}));
    EXPECT_EQ(filterPatterns("*.dat *.ser;"), (std::vector<std::string>{"*.dat", "*.ser"}));
}

TEST_F(ChooserFolder, TypedNamesResolveToFoldersFilesAndPatterns) {
    using K = ChooserTarget::Kind;
    const std::string home = dir.file("Leagues");
    const std::string leagues = dir.file("Leagues");
    struct Case {
        std::string typed;
        const char* suffix;
        K kind;
        std::string path;
    } cases[] = {
        {"Leagues", "dat", K::Folder, leagues},
        {"Leagues/../Leagues/.", "dat", K::Folder, leagues},
        {"~", "dat", K::Folder, home},
        {"~/../notes.txt", "dat", K::File, dir.file("notes.txt")},
        {dir.file("a.ser"), "dat", K::File, dir.file("a.ser")},
        {"Jos\xef\xbf\xbd.dat", "dat", K::File, dir.file("Jos\xe9.dat")},  // as it shows
        {"Jos\xef\xbf\xbd", "dat", K::File, dir.file("Jos\xe9.dat")},
        {"b", "DAT", K::File, dir.file("b.DAT")},
        {"new", "dat", K::Missing, dir.file("new.dat")},
        {"new", "", K::Missing, dir.file("new")},
        {"new.txt", "dat", K::Missing, dir.file("new.txt")},
        {"gone.dat", "dat", K::Missing, dir.file("gone.dat")},
        {"*.txt", "dat", K::Pattern, "*.txt"},
        {"..", "dat", K::Folder, parentFolder(dir.path())},
    };
    for (const Case& c : cases) {
        const ChooserTarget t = resolveTyped(dir.path(), c.typed, home, c.suffix);
        EXPECT_EQ(t.kind, c.kind) << c.typed;
        EXPECT_EQ(t.path, c.path) << c.typed;
    }
    // Where the chooser opens.
    const std::string here = dir.path();
    struct Start {
        std::string initialDir, fileName, folder, name;
    } starts[] = {
        {"", "", here, ""},
        {"Leagues", "", leagues, ""},
        {"Leagues", "new", leagues, "new"},
        {"", leagues + "/l.dat", leagues, "l.dat"},
        {"", "Leagues", leagues, ""},
        {"nowhere", "x.dat", here, "x.dat"},
        {"", dir.file("nowhere/x.dat"), here, "x.dat"},
    };
    for (const Start& s : starts) {
        const ChooserStart got = chooserStart(here, s.initialDir, s.fileName, home);
        EXPECT_EQ(got.folder, s.folder) << s.initialDir << " / " << s.fileName;
        EXPECT_EQ(got.name, s.name) << s.initialDir << " / " << s.fileName;
    }
    EXPECT_EQ(parentFolder("/"), "/");
    EXPECT_EQ(parentFolder("/home"), "/");
    EXPECT_EQ(parentFolder("/home/user/"), "/home");
}

TEST_F(ChooserFolder, EnterOnTypedTextEntersChoosesFiltersOrSaysWhatIsMissing) {
    using K = ChooserStep::Kind;
    using M = ChooserMode;
    const std::string here = dir.path();
    struct Case {
        M mode;
        bool folderBox;
        std::string typed;
        K kind;
        std::string path;
    } cases[] = {
        {M::Open, false, " ", K::Nothing, ""},
        {M::Folder, false, "", K::Choose, here},
        {M::Folder, false, "Leagues", K::Choose, dir.file("Leagues")},
        {M::Folder, true, "Leagues", K::Enter, dir.file("Leagues")},
        {M::Open, false, "Leagues", K::Enter, dir.file("Leagues")},
        {M::Open, true, "gone", K::NoSuchFolder, "gone"},
        {M::Folder, false, "gone", K::NoSuchFolder, "gone"},
        {M::Open, false, "*.txt", K::Filter, "*.txt"},
        {M::Open, false, "b", K::Choose, dir.file("b.DAT")},
        {M::Open, false, "gone", K::NoSuchFile, dir.file("gone.DAT")},
        {M::Save, false, "gone", K::Choose, dir.file("gone.DAT")},
        {M::Save, false, "nowhere/x", K::NoSuchFolder, dir.file("nowhere")},
    };
    for (const Case& c : cases) {
        const ChooserStep step = typedStep(c.mode, c.folderBox, here, c.typed, here, "DAT");
        EXPECT_EQ(step.kind, c.kind) << c.typed;
        EXPECT_EQ(step.path, c.path) << c.typed;
    }
}

}  // namespace
}  // namespace rostrix
