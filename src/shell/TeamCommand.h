// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rostrix {

// What the "Enter Team Information" group holds when "Create Team" is pressed. Texts are
// UTF-8, the way the command line reaches the shell.
struct TeamInputs {
    std::string perlDirectory;
    int year = 2000;
    std::string team;      // as typed; the command carries it in upper case
    std::string league;    // "" when nothing is selected
    std::string fileName;  // without extension, exactly as typed or generated
    std::string type;      // "0", "1" or ""
};

// The shell command line that runs the team-building script:
//   perl <perl dir>/kalbrix8.pl <year> <TEAM> <league> <file>.dat <type> >> errlog.txt
// Empty inputs leave their neighbouring blanks in place. A piece holding a blank or a
// character the shell would interpret is single-quoted, so it stays one argument and
// can never run anything else.
std::string composeTeamCommand(const TeamInputs& in);

// Upper-cases the team code the way the command carries it (accented letters included).
std::string upperCaseTeam(const std::string& team);

// Quotes one piece for /bin/sh when it needs it; a plain piece comes back unchanged.
std::string shellPiece(const std::string& piece);

// The name generated from year, league and team when "Auto File Name" is ticked.
// current is the file box's text, kept when the year text is a single character.
std::string autoFileName(const std::string& current, const std::string& yearText,
                         const std::string& league, const std::string& team);

// The script Create Team runs.
inline constexpr const char* kTeamScriptName = "kalbrix8.pl";
// The bundled builder writes a team file under this prefix and six random characters
// first, locked until it is renamed; a killed run leaves it behind.
inline constexpr const char* kTeamBuilderTemporaryPrefix = ".kalbrix8-";

// The folders that may hold the team builder shipped with the program, given the folder
// of the running executable: "teambuilder" beside it (a build tree) and the shared data
// folder of an installation.
std::vector<std::string> bundledTeamBuilderFolders(const std::string& executableFolder);

// The folder whose kalbrix8.pl Create Team runs: the Perl directory when the script is
// there, else the first bundled folder that holds it; nothing when none does.
std::optional<std::string> teamScriptFolder(const std::string& perlDirectory,
                                            const std::vector<std::string>& bundledFolders);

// Says that no team-building script was found and lists where it was looked for.
std::string noTeamScriptMessage(const std::string& perlDirectory,
                                const std::vector<std::string>& bundledFolders);

// How a run of the shell ended.
struct CommandOutcome {
    bool started = false;
    int exitCode = -1;  // the shell's exit status; -1 when it did not exit on its own
};

// Runs commandLine with /bin/sh -c in workDir and waits for it. The shell's standard
// error is appended to errlogPath (standard output goes where the command line sends
// it). pump runs between short waits so the caller's window keeps repainting. The shell
// runs in a process group of its own; when stop (if given) says so, or the program is
// asked to end, the whole group is ended (SIGTERM, then SIGKILL after two seconds), so
// no script is left to write a team file later.
CommandOutcome runTeamCommand(const std::string& commandLine, const std::string& workDir,
                              const std::string& errlogPath, const std::function<void()>& pump,
                              const std::function<bool()>& stop = nullptr);

// Whether the log can take the run's messages: "" when it can, else what the user is told
// (the log is a folder, a pipe, read-only, on a full disk...).
std::string errlogProblem(const std::string& errlogPath);

// What tells one version of a file from another: a rewrite changes at least one part.
struct FileStamp {
    bool exists = false;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

// What the user is told after a run, or "" when the run did its job: it exited with 0
// and the team file was created or rewritten by it (an older file of that name does
// not count). Texts are UTF-8.
std::string teamRunProblem(const CommandOutcome& outcome, const FileStamp& before,
                           const FileStamp& after, const std::string& teamFile,
                           const std::string& errlog);

}  // namespace rostrix
