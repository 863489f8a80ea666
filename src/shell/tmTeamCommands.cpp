// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tmTeamCommands.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <filesystem>

#include "platform/Error.h"
#include "platform/ExitRequest.h"
#include "platform/LineFile.h"
#include "platform/gui/CancelPrompt.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "platform/gui/InputBlock.h"
#include "platform/gui/PaneText.h"
#include "shell/TeamRunReport.h"
#include "teamfile/TeamFileCheck.h"
#include "teamfile/TeamFileRead.h"
#include "teamfile/tmEditor.h"

namespace rostrix {

namespace {

void tell(QWidget* owner, const std::string& text) {
    dialogs().message(owner, QString::fromLatin1(kAppTitle), fileNameText(text), MsgIcon::None, Ok);
}

}  // namespace

std::string createTeam(QWidget* owner, const CreateTeamRequest& request) {
    static bool running = false;
    if (running) return {};  // one run at a time, however the command is reached
    // A form the script cannot build a team file from runs nothing.
    const std::string formProblems = teamFormProblems(request.inputs.team, request.inputs.fileName);
    if (!formProblems.empty()) {
        dialogs().message(owner, QString::fromLatin1(kAppTitle), fileNameText(formProblems),
                          MsgIcon::Warning, Ok);
        return {};
    }
    running = true;
    const struct Done {
        ~Done() { running = false; }
    } done;
    const std::string& home = request.home;
    std::error_code ec;
    std::filesystem::current_path(home, ec);

    // Without a script of the user's own, the builder shipped with the program does the work.
    const std::vector<std::string> bundled =
        bundledTeamBuilderFolders(fileNameBytes(QCoreApplication::applicationDirPath()));
    const std::optional<std::string> scriptFolder =
        teamScriptFolder(request.perlDirectory, bundled);
    if (!scriptFolder) {
        dialogs().message(owner, QString::fromLatin1(kAppTitle),
                          fileNameText(noTeamScriptMessage(request.perlDirectory, bundled)),
                          MsgIcon::Warning, Ok);
        return {};
    }
    TeamInputs in = request.inputs;
    in.perlDirectory = *scriptFolder;
    const std::string command = composeTeamCommand(in);

    const std::string teamFile = home + "/" + request.fileName + ".dat";
    // A team file of that name may hold the user's edits: it is replaced only when he says so.
    if (std::filesystem::exists(teamFile, ec) &&
        dialogs().message(owner, QString::fromLatin1(kAppTitle),
                          fileNameText(replaceTeamFileQuestion(request.fileName, home)),
                          MsgIcon::Question, Yes | No) != Yes)
        return {};

    const std::string errlog = home + "/errlog.txt";
    if (const std::string why = errlogProblem(errlog); !why.empty()) {
        tell(owner, why);
        return {};
    }
    const FileStamp before = fileStamp(teamFile);
    const long long logBefore = fileSizeOrZero(errlog);
    CommandOutcome outcome;
    {
        // No window takes input while the script runs (a second click would start a second
        // run on the same team file), but they all keep repainting; a run that takes long
        // can be cancelled.
        const InputBlock block;
        const CancelPrompt prompt(
            owner, QStringLiteral("Creating the team file %1 ...").arg(fileNameText(teamFile)));
        outcome = runTeamCommand(command, home, errlog, &InputBlock::pump,
                                 [&prompt] { return prompt.cancelled(); });
    }
    // The program is closing: nothing more to say.
    if (exitRequested()) return {};
    const std::string problem =
        teamRunProblem(outcome, before, fileStamp(teamFile), teamFile, errlog);
    if (!problem.empty()) {
        tell(owner, withScriptWords(problem, appendedLogTail(errlog, logBefore)));
        return {};
    }

    // The run counts as a success; a file the game would misread is still worth a word.
    const auto lines = readLines(teamFile);
    const std::size_t faults = lines ? checkTeamFile(*lines, 0).total : 0;
    if (faults) tell(owner, writtenWithProblemsMessage(teamFile, faults));
    return teamRunSummary(errlog, logBefore, request.fileName);
}

void editTeam(QWidget* owner, const std::string& home, const QString& name) {
    std::error_code ec;
    std::filesystem::current_path(home, ec);

    // A missing or unreadable team file gives an empty, untitled editor: no message.
    QPlainTextEdit* pane = Form4->Memo1();
    pane->clear();
    std::optional<std::vector<std::string>> lines;
    std::string path;
    if (!name.isEmpty()) {
        path = home + "/" + fileNameBytes(name) + ".dat";
        int why = 0;
        lines = readTeamFile(path, &why);
        // Something under that name that is no team file (a folder, a pipe, a loop of links,
        // a link to nothing, a file far too large) is named, never shown as an empty editor.
        if (isNotAFile(why) || why == kFileTooLarge)
            throw Error(teamFileOpenFailure(path, why));
    }
    if (lines) {
        setPaneLines(pane, *lines);
        Form4->CurrentFile = path;
        Form4->setWindowTitle(QStringLiteral("Rostrix - ") + name + QStringLiteral(".dat"));
    } else {
        Form4->CurrentFile = "Untitled.dat";
        Form4->setWindowTitle(QStringLiteral("Rostrix - Untitled.dat"));
    }
    centreOver(Form4, owner);
    pane->document()->setModified(false);
    Form4->OpenDialog1.initialDir = fileNameText(home);
    Form4->SaveDialog1.initialDir = fileNameText(home);
    dialogs().showModal(Form4);
}

}  // namespace rostrix
