// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <exception>

#include "app/Forms.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/ProgramIcon.h"
#include "shell/CommandLine.h"
#include "shell/tmHome.h"

// Started without arguments (or with the toolkit's own) the program runs until its main
// window closes and returns 0.
int main(int argc, char** argv) {
    // Help, the version and a mistyped option are answered before a window opens or a
    // file is touched, and without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const rostrix::CommandLineAnswer answer = rostrix::readCommandLine(arguments);
    if (!answer.start) {
        std::fputs(answer.out.c_str(), stdout);
        std::fputs(answer.err.c_str(), stderr);
        return answer.exitStatus;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(rostrix::kAppTitle));
    rostrix::installProgramIcon();
    rostrix::runProgram();
    return 0;
}
