// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TeamCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocale>
#include <QProcess>
#include <QString>
#include <csignal>
#include <filesystem>
#include <string_view>

#include "platform/ExitRequest.h"
#include "platform/LineFile.h"

namespace rostrix {

namespace {

bool needsQuoting(const std::string& piece) {
    static constexpr std::string_view kSpecial = " \t\r\n;&|$`'\"\\<>()*?[]#~!{}";
    for (const char c : piece)
        if (kSpecial.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 0x20)
            return true;
    return false;
}

}  // namespace

std::string shellPiece(const std::string& piece) {
    if (!needsQuoting(piece)) return piece;
    std::string out = "'";
    for (const char c : piece) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    out += '\'';
    return out;
}

std::string upperCaseTeam(const std::string& team) {
    return QLocale::system().toUpper(QString::fromUtf8(team)).toUtf8().toStdString();
}

std::string composeTeamCommand(const TeamInputs& in) {
    std::string cmd = "perl ";
    cmd += shellPiece(in.perlDirectory);
    cmd += "/kalbrix8.pl ";
    cmd += std::to_string(in.year);
    cmd += " ";
    cmd += shellPiece(upperCaseTeam(in.team));
    cmd += " ";
    cmd += shellPiece(in.league);
    cmd += " ";
    // The extension joins the name inside the quotes so "a b.dat" stays one argument.
    cmd +=
        needsQuoting(in.fileName) ? shellPiece(in.fileName + ".dat") + " " : in.fileName + ".dat ";
    cmd += shellPiece(in.type);
    cmd += " >> errlog.txt";
    return cmd;
}

std::string autoFileName(const std::string& current, const std::string& yearText,
                         const std::string& league, const std::string& team) {
    std::string name = yearText.size() >= 2 ? yearText.substr(yearText.size() - 2) : current;
    return name + league + team;
}

std::vector<std::string> bundledTeamBuilderFolders(const std::string& executableFolder) {
    // The install step puts the builder under the data folder; the relative path from the
    // program's folder keeps an installed tree movable.
    const auto folder = [&](const char* relative) {
        return (std::filesystem::path(executableFolder) / relative).lexically_normal().string();
    };
    return {folder("teambuilder"), folder(ROSTRIX_INSTALLED_TEAMBUILDER)};
}

std::optional<std::string> teamScriptFolder(const std::string& perlDirectory,
                                            const std::vector<std::string>& bundledFolders) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(perlDirectory + "/" + kTeamScriptName, ec))
        return perlDirectory;
    for (const std::string& folder : bundledFolders)
        if (std::filesystem::is_regular_file(folder + "/" + kTeamScriptName, ec)) return folder;
    return std::nullopt;
}

std::string noTeamScriptMessage(const std::string& perlDirectory,
                                const std::vector<std::string>& bundledFolders) {
    std::string text = "No team-building script was found. Looked for " +
                       std::string(kTeamScriptName) + " in:\n" + perlDirectory;
    for (const std::string& folder : bundledFolders) text += "\n" + folder;
    return text;
}

namespace {

// Ends the script's process group: politely first, then for certain.
void endGroup(QProcess& shell, pid_t group) {
    ::kill(-group, SIGTERM);
    for (int waited = 0; waited < 2000 && !shell.waitForFinished(50); waited += 50) {
    }
    ::kill(-group, SIGKILL);
    shell.waitForFinished(-1);
}

}  // namespace

std::string errlogProblem(const std::string& errlogPath) {
    int why = 0;
    const int fd = openRegularFile(errlogPath, O_WRONLY | O_APPEND | O_CREAT, &why);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    return "The team-building script was not run: " +
           fileFailureText("its log %s cannot be written", errlogPath, why) + ".";
}

CommandOutcome runTeamCommand(const std::string& commandLine, const std::string& workDir,
                              const std::string& errlogPath, const std::function<void()>& pump,
                              const std::function<bool()>& stop) {
    QProcess shell;
    // Its own group, so the script and everything it starts can be ended together.
    shell.setChildProcessModifier([] { ::setpgid(0, 0); });
    shell.setProgram(QStringLiteral("/bin/sh"));
    shell.setArguments({QStringLiteral("-c"), QString::fromUtf8(commandLine.c_str())});
    shell.setWorkingDirectory(QString::fromUtf8(workDir.c_str()));
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.setStandardErrorFile(QString::fromUtf8(errlogPath.c_str()), QIODevice::Append);
    shell.start();
    if (!shell.waitForStarted(-1)) return {};
    const auto group = static_cast<pid_t>(shell.processId());
    setGroupToEnd(group);
    // The pump may take in the shell's end itself; waitForFinished then answers false
    // for ever, so the state is asked first.
    while (shell.state() != QProcess::NotRunning && !shell.waitForFinished(50)) {
        if (pump) pump();
        if (exitRequested() || (stop && stop())) {
            endGroup(shell, group);
            break;
        }
    }
    setGroupToEnd(0);
    CommandOutcome outcome{true, -1};
    if (shell.exitStatus() == QProcess::NormalExit) outcome.exitCode = shell.exitCode();
    return outcome;
}

FileStamp fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return {true, static_cast<unsigned long long>(st.st_ino), static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::string teamRunProblem(const CommandOutcome& outcome, const FileStamp& before,
                           const FileStamp& after, const std::string& teamFile,
                           const std::string& errlog) {
    const std::string messages = "\nThe script's messages are in " + errlog + ".";
    if (!outcome.started)
        return "The team file " + teamFile +
               " was not written: the shell /bin/sh could not be started.";
    const bool written = after.exists && after != before;
    const std::string status =
        outcome.exitCode < 0
            ? std::string("the script was stopped before it ended")
            : "the script ended with exit status " + std::to_string(outcome.exitCode);
    if (!written)
        return "The team file " + teamFile + " was not written" +
               (outcome.exitCode == 0 ? std::string(".") : ": " + status + ".") + messages;
    if (outcome.exitCode != 0)
        return "The team file " + teamFile + " may be incomplete: " + status + "." + messages;
    return {};
}

}  // namespace rostrix
