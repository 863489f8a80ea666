// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <string>

namespace rostrix {

// What the command line asks for, decided before any window opens or any file is touched.
struct CommandLineAnswer {
    bool start = true;  // start the program as usual; otherwise print and end
    int exitStatus = 0;
    std::string out;  // for standard output
    std::string err;  // for standard error: one line
};

// Reads the program's arguments (the program's own name first). --help and --version
// answer and end with status 0; an unknown option or a stray argument ends with status 2.
// The toolkit's own options (-platform, -style, -session, ...) are left for it. With no
// display to open a window on (and a platform that needs one) it ends with status 1.
CommandLineAnswer readCommandLine(const QStringList& arguments);

}  // namespace rostrix
