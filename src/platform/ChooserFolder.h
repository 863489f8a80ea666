// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// One entry of the folder a file chooser shows, by the bytes of its name.
struct ChooserEntry {
    std::string name;
    bool folder = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // seconds since the epoch
};

// What a chooser lists of folder: its sub-folders (links to folders too), then, unless
// foldersOnly, the files whose name matches one of patterns ("*.dat"; none: every file).
// Names starting with "." only when showHidden. Each group in the listings' order. Names
// are taken as the file system spells them, so a file copied from an old Windows disk
// ("Jos\xe9.dat") is listed and opened like any other. An unreadable folder lists nothing.
std::vector<ChooserEntry> chooserEntries(const std::string& folder,
                                         const std::vector<std::string>& patterns, bool showHidden,
                                         bool foldersOnly);

// Wildcard match ("*" any run, "?" one byte), letters compared without regard to case:
// "27ALNYA.DAT" is a team file too.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The patterns of one entry of a dialog filter: "*.dat;*.ser" or "*.dat *.ser".
std::vector<std::string> filterPatterns(std::string_view patterns);

// What the text typed into a chooser's name box stands for, seen from folder.
struct ChooserTarget {
    enum Kind { Folder, File, Pattern, Missing } kind = Missing;
    std::string path;  // the folder or file (bytes on disk), or the pattern itself
};

// Resolves typed (as the box shows it, UTF-8) against folder: "~" and "~/..." start at
// home, "/..." is absolute, anything else is inside folder; "." and ".." parts are
// followed. A name with "*" or "?" is a pattern. A name that is not there as typed but is
// with "." + defaultSuffix added (when it has no suffix of its own) is that file; a
// missing one gets the suffix in its path. Parts that show a name not valid UTF-8 find
// that name's bytes.
ChooserTarget resolveTyped(const std::string& folder, const std::string& typed,
                           const std::string& home, std::string_view defaultSuffix);

enum class ChooserMode { Open, Save, Folder };

// What Enter does with the text typed into a chooser's name box (or, fromFolderBox, its
// "Look in" box).
struct ChooserStep {
    enum Kind {
        Nothing,
        Enter,         // show the folder path
        Choose,        // hand back path
        Filter,        // list what matches the pattern path
        NoSuchFile,    // path is not there
        NoSuchFolder,  // the folder path (as typed, where it came from the box) is not there
    } kind = Nothing;
    std::string path;
};
ChooserStep typedStep(ChooserMode mode, bool fromFolderBox, const std::string& folder,
                      const std::string& typed, const std::string& home,
                      const std::string& defaultSuffix);

// Where a chooser opens: in the folder of a preset file name that has one, else in the
// given folder, else in here (also when the folder named is not there); with the preset
// name's last part in the name box.
struct ChooserStart {
    std::string folder;
    std::string name;
};
ChooserStart chooserStart(const std::string& here, const std::string& initialDir,
                          const std::string& fileName, const std::string& home);

// name inside folder ("/" + name inside the root).
std::string pathIn(const std::string& folder, const std::string& name);

// Whether path is a folder (a link to one too).
bool isFolder(const std::string& path);

// The folder above folder ("/" stays "/").
std::string parentFolder(const std::string& folder);

}  // namespace rostrix
