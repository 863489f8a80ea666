// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/ProgramIcon.h"

#include <QApplication>
#include <QString>

// Q_INIT_RESOURCE may not stand inside a namespace.
static void loadIconResource() {
    Q_INIT_RESOURCE(ProgramIcon);  // the icon lives in a static library
}

namespace rostrix {

QIcon programIcon() {
    loadIconResource();
    QIcon icon;
    // No size given: each file's own pixel size is read, so a wrongly rendered file shows.
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/program/rostrix-%1.png").arg(size));
    return icon;
}

void installProgramIcon() {
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(ROSTRIX_APP_ID));
}

}  // namespace rostrix
