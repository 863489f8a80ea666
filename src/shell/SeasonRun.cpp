// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SeasonRun.h"

#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <fstream>

#include "platform/ExitRequest.h"
#include "platform/LineFile.h"
#include "shell/TeamCommand.h"
#include "shell/TeamRunReport.h"
#include "teamfile/TeamFileCheck.h"

namespace rostrix {

namespace {

constexpr std::size_t kNone = std::string::npos;

QString local(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.c_str());
}

std::size_t clubOfFile(const std::vector<ClubResult>& clubs, const std::string& file) {
    for (std::size_t i = 0; i < clubs.size(); ++i)
        if (clubs[i].club.file == file) return i;
    return kNone;
}

std::string lastLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::size_t end = text.find_last_of('\n');
    return end == std::string::npos ? text : text.substr(end + 1);
}

// The bundled builder: one run for every club, its progress read from its output.
void runBundled(const SeasonJob& job, const SeasonEvents& events, SeasonOutcome& out) {
    std::ofstream log(job.home + "/errlog.txt", std::ios::binary | std::ios::app);
    QStringList args{local(job.scriptFolder + "/" + kTeamScriptName)};
    for (const std::string& a : seasonArguments(job.year, job.league, job.type, false, job.clubs))
        args << local(a);
    QProcess perl;
    // A group of its own, which a second signal to the program ends at once.
    perl.setChildProcessModifier([] { ::setpgid(0, 0); });
    perl.setWorkingDirectory(local(job.home));
    perl.setStandardInputFile(QProcess::nullDevice());
    perl.start(QStringLiteral("perl"), args);
    if (!perl.waitForStarted(-1)) {
        out.stopLine = "perl could not be started.";
        return;
    }
    const auto group = static_cast<pid_t>(perl.processId());
    setGroupToEnd(group);
    const struct Forget {
        ~Forget() { setGroupToEnd(0); }
    } forget;
    std::size_t current = kNone;
    std::string errors;
    bool stopAsked = false;
    bool listening = false;  // a stop may be asked for once the builder says it listens
    const auto drain = [&] {
        while (perl.canReadLine()) {
            const std::string line = perl.readLine().toStdString();
            log << line;
            listening = listening || line.starts_with("kalbrix8.pl: season ");
            std::size_t before = current;
            followBuilderLine(out.clubs, line, current);
            if (current != before && current != kNone && events.building) {
                std::size_t done = 0;
                for (const ClubResult& r : out.clubs) done += r.outcome != ClubOutcome::NotBuilt;
                events.building(done, out.clubs[current].club);
            }
        }
        const std::string err = perl.readAllStandardError().toStdString();
        log << err;
        errors += err;
        log.flush();
    };
    bool ending = false;
    // The pump may let the process's end be taken in already; waitForFinished then
    // answers false for ever.
    while (perl.state() != QProcess::NotRunning && !perl.waitForFinished(50)) {
        drain();
        if (listening && !stopAsked && events.cancelled && events.cancelled()) {
            stopAsked = true;
            ::kill(group, SIGUSR1);
        }
        // The program is asked to end: the builder goes at once, its files whole (each is
        // renamed into place only when written).
        if (exitRequested() && !ending) {
            ending = true;
            ::kill(-group, SIGTERM);
        }
        if (events.pump) events.pump();
    }
    drain();
    log << perl.readAllStandardOutput().toStdString();
    const bool exited = perl.exitStatus() == QProcess::NormalExit;
    if (exited && perl.exitCode() == 0) return;
    out.cancelled = stopAsked;
    if (stopAsked) return;
    out.stopLine = exited ? lastLine(errors) : std::string("the builder was stopped.");
    if (out.stopLine.empty())
        out.stopLine = "the builder ended with exit status " + std::to_string(perl.exitCode());
    // The club being built when the run ended did not get its file.
    if (current != kNone) {
        out.clubs[current].outcome = ClubOutcome::Failed;
        out.clubs[current].line = out.stopLine;
    }
}

// A user's own script: the Create Team command once per club.
void runOwnScript(const SeasonJob& job, const SeasonEvents& events, SeasonOutcome& out) {
    const std::string errlog = job.home + "/errlog.txt";
    for (std::size_t i = 0; i < out.clubs.size(); ++i) {
        if (events.cancelled && events.cancelled()) {
            out.cancelled = true;
            return;
        }
        ClubResult& r = out.clubs[i];
        if (events.building) events.building(i, r.club);
        const std::string stem = r.club.file.substr(0, r.club.file.size() - 4);
        const TeamInputs in{job.scriptFolder, job.year, r.club.id, r.club.league, stem, job.type};
        const std::string teamFile = job.home + "/" + r.club.file;
        const FileStamp before = fileStamp(teamFile);
        const long long logBefore = fileSizeOrZero(errlog);
        // Cancel ends the script and all it started, as Create Team's does: a script of the
        // user's own may never end by itself.
        const CommandOutcome ran =
            runTeamCommand(composeTeamCommand(in), job.home, errlog, events.pump, events.cancelled);
        const std::string problem =
            teamRunProblem(ran, before, fileStamp(teamFile), teamFile, errlog);
        if (problem.empty()) {
            r.outcome = ClubOutcome::Built;
            continue;
        }
        r.outcome = ClubOutcome::Failed;
        out.cancelled = events.cancelled && events.cancelled();
        r.line = out.cancelled ? std::string() : appendedLogTail(errlog, logBefore, 1);
        if (r.line.empty()) r.line = problem.substr(0, problem.find('\n'));
        if (out.cancelled) return;
    }
}

}  // namespace

void followBuilderLine(std::vector<ClubResult>& clubs, const std::string& text,
                       std::size_t& current) {
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    static const std::string kBuilding = "kalbrix8.pl: building ";
    static const std::string kWrote = "kalbrix8.pl: wrote ";
    static const std::string kRefused = "kalbrix8.pl: refused ";
    const auto fileAfter = [&](const std::string& lead, char end) {
        const std::size_t stop = line.find(end, lead.size());
        return line.substr(lead.size(), stop == std::string::npos ? stop : stop - lead.size());
    };
    if (line.starts_with(kBuilding)) {
        current = clubOfFile(clubs, fileAfter(kBuilding, ' '));
    } else if (line.starts_with(kWrote)) {
        const std::size_t i = clubOfFile(clubs, fileAfter(kWrote, ':'));
        if (i != kNone) clubs[i].outcome = ClubOutcome::Built;
        if (i == current) current = kNone;
    } else if (line.starts_with(kRefused)) {
        const std::string file = fileAfter(kRefused, ':');
        const std::size_t i = clubOfFile(clubs, file);
        if (i != kNone) {
            clubs[i].outcome = ClubOutcome::Failed;
            clubs[i].line = "kalbrix8.pl: " + line.substr(kRefused.size() + file.size() + 2);
        }
        if (i == current) current = kNone;
    }
}

SeasonOutcome runSeason(const SeasonJob& job, const SeasonEvents& events) {
    SeasonOutcome out;
    for (const SeasonClub& club : job.clubs)
        out.clubs.push_back({club, ClubOutcome::NotBuilt, {}, 0});
    if (!job.clubs.empty()) {
        if (job.ownScript)
            runOwnScript(job, events, out);
        else
            runBundled(job, events, out);
    }
    for (ClubResult& r : out.clubs) {
        if (r.outcome != ClubOutcome::Built) continue;
        const auto lines = readLines(job.home + "/" + r.club.file);
        r.problems = lines ? checkTeamFile(*lines).size() : 0;
    }
    return out;
}

std::string seasonHeadline(int year, const std::vector<ClubResult>& clubs) {
    std::size_t count[4] = {};
    for (const ClubResult& r : clubs) ++count[static_cast<int>(r.outcome)];
    std::string text = std::to_string(year) + ": " + std::to_string(count[0]) + " built, " +
                       std::to_string(count[1]) + " skipped, " + std::to_string(count[2]) +
                       " failed";
    if (count[3]) text += ", " + std::to_string(count[3]) + " not built";
    return text + ".";
}

std::string clubResultText(const ClubResult& r) {
    switch (r.outcome) {
        case ClubOutcome::Built:
            return r.problems == 0 ? std::string("built, no problems")
                                   : "built, " + std::to_string(r.problems) +
                                         (r.problems == 1 ? " problem" : " problems");
        case ClubOutcome::Skipped:
            return "skipped: the file was kept";
        case ClubOutcome::Failed:
            return "failed: " + r.line;
        case ClubOutcome::NotBuilt:
            break;
    }
    return "not built";
}

}  // namespace rostrix
