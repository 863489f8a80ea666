// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "shell/SeasonRun.h"

class QWidget;

namespace rostrix {

// What Create Season takes from the main window: the year, the league ("" for all
// leagues of the season) and the type, as Create Team takes them.
struct SeasonRequest {
    std::string home;
    std::string perlDirectory;
    int year = 0;
    std::string league;
    std::string type;
};

// Create Season: lists the clubs and asks, asks once about team files already there,
// builds the rest behind a progress window whose Cancel stops after the club being built,
// and ends in the summary.
void createSeason(QWidget* owner, const SeasonRequest& request);

// The end of a season run: a row per club (built with its problem count, skipped, failed
// with the builder's line) and a button that opens Make Zip with the built files.
class SeasonSummary : public QDialog {
public:
    SeasonSummary(QWidget* owner, std::string home, int year, std::vector<ClubResult> clubs,
                  const std::string& stopLine, bool cancelled);

    // The team files the run wrote, the ones Make Zip is given.
    std::vector<std::string> builtFiles() const;

private:
    void openMakeZip();

    std::string home_;
    std::vector<ClubResult> clubs_;
};

}  // namespace rostrix
