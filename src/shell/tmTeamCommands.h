// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "shell/TeamCommand.h"

class QWidget;

namespace rostrix {

// What Create Team works with: the home folder, the Perl directory of the settings, the
// team information as the command carries it and the file box's name as file-system bytes.
struct CreateTeamRequest {
    std::string home;
    std::string perlDirectory;
    TeamInputs inputs;
    std::string fileName;
};

// Create Team: checks the form, finds the script, asks before replacing an existing team
// file, runs the script with no window taking input, and tells the user when the run
// went wrong (with the script's own last words) or wrote a file that does not pass the
// team file check. Returns the builder's summary of a run that wrote the team file, ""
// when nothing was written.
std::string createTeam(QWidget* owner, const CreateTeamRequest& request);

// Edit Team: opens the home folder's <name>.dat in the editor, or an empty untitled
// editor when there is no such file.
void editTeam(QWidget* owner, const std::string& home, const QString& name);

}  // namespace rostrix
