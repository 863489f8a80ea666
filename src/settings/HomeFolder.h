// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace rostrix {

// The folder every home file lives in: the settings file, archive.dat and player.dat, new
// team files and errlog.txt, the downloaded archive, and the first listing of the names
// utility and of the package window. Every window asks here; none reads the main window's
// HomeDirectory, which holds the settings file's stale "Home" (empty, or a folder of the
// machine the file came from) when the start-up could not write the folder it started in.
std::string homeFolder();

// The main window's start-up records the folder the program started in; that folder is
// the home folder whether or not the settings file took it. An empty folder forgets it,
// and homeFolder() then answers the current directory, as it does before any start-up.
void settleHomeFolder(const std::string& startFolder);

// The settings file qrdTeams.ini of the home folder.
std::string settingsPath();

}  // namespace rostrix
