// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class QWidget;

namespace rostrix {

class CareerArchive;

// Reads the player archive at path on a worker thread. Meanwhile the program's windows
// keep painting (input waits), and a read that takes longer than a quarter of a second
// shows a busy indication over `over` until it is done.
std::unique_ptr<CareerArchive> readCareerArchive(QWidget* over, const std::string& path);

}  // namespace rostrix
