// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tmSeason.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "package/tmZip.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "platform/gui/InputBlock.h"
#include "shell/TeamCommand.h"

namespace rostrix {

namespace {

int ask(QWidget* owner, const std::string& text, MsgIcon icon, int buttons) {
    return dialogs().message(owner, QString::fromLatin1(kAppTitle), fileNameText(text), icon,
                             buttons);
}

// The clubs of the season as the bundled builder reads them from the configured database
// (or its sample); empty after telling the user why there are none.
std::vector<SeasonClub> listClubs(QWidget* owner, const std::string& builder,
                                  const SeasonRequest& request) {
    QStringList args{fileNameText(builder + "/" + kTeamScriptName)};
    for (const std::string& a : seasonArguments(request.year, request.league, request.type, true))
        args << QString::fromStdString(a);
    QProcess perl;
    perl.setWorkingDirectory(fileNameText(request.home));
    perl.setStandardInputFile(QProcess::nullDevice());
    {
        const InputBlock block;
        perl.start(QStringLiteral("perl"), args);
        while (perl.state() != QProcess::NotRunning && !perl.waitForFinished(50))
            InputBlock::pump();
    }
    const std::string err = perl.readAllStandardError().trimmed().toStdString();
    const auto clubs = parseSeasonClubs(perl.readAllStandardOutput().toStdString());
    if (clubs.empty())
        ask(owner,
            "No season was built.\n" + (err.empty() ? std::string("perl could not be started.")
                                                    : err.substr(err.find_last_of('\n') + 1)),
            MsgIcon::Warning, Ok);
    return clubs;
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

void createSeason(QWidget* owner, const SeasonRequest& request) {
    static bool running = false;
    if (running) return;  // one run at a time, however the command is reached
    running = true;
    const struct Done {
        ~Done() { running = false; }
    } done;

    const std::vector<std::string> bundled =
        bundledTeamBuilderFolders(fileNameBytes(QCoreApplication::applicationDirPath()));
    std::optional<std::string> builder;
    for (const std::string& folder : bundled)
        if (!builder && teamScriptFolder(folder, {})) builder = folder;
    const auto script = teamScriptFolder(request.perlDirectory, bundled);
    if (!builder || !script) {
        ask(owner, noTeamScriptMessage(request.perlDirectory, bundled), MsgIcon::Warning, Ok);
        return;
    }
    const std::vector<SeasonClub> clubs = listClubs(owner, *builder, request);
    if (clubs.empty() || ask(owner, seasonQuestion(request.year, clubs, request.home),
                             MsgIcon::Question, Yes | No) != Yes)
        return;
    // A name that holds a folder or a pipe is no team file to replace: that club fails.
    const auto refused = refusedSeasonFiles(request.home, clubs);
    std::vector<SeasonClub> usable;
    for (const SeasonClub& club : clubs)
        if (!refused.count(club.file)) usable.push_back(club);

    // One question covers every team file that is already there.
    const std::set<std::string> existing = existingSeasonFiles(request.home, usable);
    ExistingFiles choice = ExistingFiles::Replace;
    if (!existing.empty()) {
        const int answer = ask(owner, existingFilesQuestion(existing, clubs.size()),
                               MsgIcon::Question, Yes | No | Cancel);
        choice = answer == Yes  ? ExistingFiles::Replace
                 : answer == No ? ExistingFiles::Keep
                                : ExistingFiles::Cancel;
        if (choice == ExistingFiles::Cancel) return;
    }

    SeasonJob job{request.home,   *script,      !sameFolder(*script, *builder),        request.year,
                  request.league, request.type, clubsToBuild(usable, existing, choice)};
    QProgressDialog progress(owner);
    progress.setObjectName(QStringLiteral("SeasonProgress"));
    progress.setWindowTitle(QStringLiteral("Create Season"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setRange(0, static_cast<int>(job.clubs.size()));
    progress.setValue(0);
    progress.show();
    SeasonOutcome outcome;
    {
        // Only the progress window takes input meanwhile: its Cancel, nothing else.
        const InputBlock block(&progress);
        SeasonEvents events;
        events.building = [&](std::size_t built, const SeasonClub& club) {
            progress.setValue(static_cast<int>(built));
            progress.setLabelText(QStringLiteral("Building %1 (%2 of %3)")
                                      .arg(fileNameText(club.file))
                                      .arg(built + 1)
                                      .arg(job.clubs.size()));
        };
        events.cancelled = [&] { return progress.wasCanceled(); };
        events.pump = &InputBlock::pump;
        outcome = runSeason(job, events);
    }
    progress.close();

    // The summary lists every club of the season, the kept ones as skipped.
    std::vector<ClubResult> rows;
    std::size_t next = 0;
    for (const SeasonClub& club : clubs) {
        if (const auto why = refused.find(club.file); why != refused.end())
            rows.push_back({club, ClubOutcome::Failed, why->second, 0});
        else if (next < outcome.clubs.size() && outcome.clubs[next].club == club)
            rows.push_back(outcome.clubs[next++]);
        else
            rows.push_back({club, ClubOutcome::Skipped, {}, 0});
    }
    SeasonSummary summary(owner, request.home, request.year, rows, outcome.stopLine,
                          outcome.cancelled);
    centreOver(&summary, owner);
    dialogs().showModal(&summary);
}

SeasonSummary::SeasonSummary(QWidget* owner, std::string home, int year,
                             std::vector<ClubResult> clubs, const std::string& stopLine,
                             bool cancelled)
    : QDialog(owner), home_(std::move(home)), clubs_(std::move(clubs)) {
    setObjectName(QStringLiteral("SeasonSummary"));
    setWindowTitle(QStringLiteral("Season %1").arg(year));
    auto* column = new QVBoxLayout(this);
    std::string headline = seasonHeadline(year, clubs_);
    if (cancelled) headline += "\nStopped on request; every file written is whole.";
    if (!stopLine.empty()) headline += "\nThe run stopped: " + stopLine;
    auto* label = new QLabel(fileNameText(headline), this);
    label->setObjectName(QStringLiteral("SeasonHeadline"));
    label->setWordWrap(true);
    column->addWidget(label);

    auto* table = new QTableWidget(static_cast<int>(clubs_.size()), 3, this);
    table->setObjectName(QStringLiteral("SeasonTable"));
    table->setAccessibleName(QStringLiteral("Clubs of the season"));
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Club"), QStringLiteral("Team file"), QStringLiteral("Result")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < table->rowCount(); ++row) {
        const ClubResult& r = clubs_[static_cast<std::size_t>(row)];
        const std::string cells[] = {r.club.league + " " + r.club.id + " " + r.club.name,
                                     r.club.file, clubResultText(r)};
        for (int col = 0; col < 3; ++col)
            table->setItem(row, col, new QTableWidgetItem(fileNameText(cells[col])));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(table);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* zip =
        buttons->addButton(QStringLiteral("Make Zip..."), QDialogButtonBox::ActionRole);
    zip->setObjectName(QStringLiteral("SeasonMakeZip"));
    zip->setToolTip(QStringLiteral("Opens Make Zip with the team files built here"));
    zip->setEnabled(!builtFiles().empty());
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("SeasonClose"));
    column->addWidget(buttons);
    connect(zip, &QPushButton::clicked, this, guard([this] { openMakeZip(); }));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 420);
}

std::vector<std::string> SeasonSummary::builtFiles() const {
    std::vector<std::string> files;
    for (const ClubResult& r : clubs_)
        if (r.outcome == ClubOutcome::Built) files.push_back(r.club.file);
    return files;
}

void SeasonSummary::openMakeZip() {
    Form7->offerFiles(home_, builtFiles());
    centreOver(Form7, this);
    dialogs().showModal(Form7);
}

}  // namespace rostrix
