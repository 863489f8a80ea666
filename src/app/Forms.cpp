// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Forms.h"

#include <QApplication>
#include <QTimer>

#include "names/tmNames.h"
#include "names/tmNamesDuplicate.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "platform/gui/CloseOnSignal.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/WindowHabits.h"
#include "settings/HomeFolder.h"
#include "shell/RunLeftovers.h"
#include "shell/tmHome.h"
#include "shell/tmPlayoffs.h"
#include "teamfile/TeamRecovery.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

TForm1* Form1 = nullptr;
TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm5* Form5 = nullptr;
TForm6* Form6 = nullptr;
TForm7* Form7 = nullptr;
TForm8* Form8 = nullptr;
TForm10* Form10 = nullptr;
TForm14* Form14 = nullptr;

namespace rostrix {

namespace {

template <class T>
void destroy(T*& form) {
    delete form;
    form = nullptr;
}

}  // namespace

void createForms() {
    installWindowHabits();
    Form1 = new TForm1;
    setMainWindow(Form1);
    Form4 = new TForm4;
    Form2 = new TForm2;
    Form3 = new TForm3;
    Form5 = new TForm5;
    Form6 = new TForm6;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form10 = new TForm10;
    Form14 = new TForm14;
}

void destroyForms() {
    destroy(Form14);
    destroy(Form10);
    destroy(Form8);
    destroy(Form7);
    destroy(Form6);
    destroy(Form5);
    destroy(Form3);
    destroy(Form2);
    destroy(Form4);
    destroy(Form1);
}

void runProgram() {
    // Asked to end by the session or a terminal, the program closes as its main window does.
    const CloseOnSignal closeOnSignal([] {
        if (Form1) closeForExit(Form1);
    });
    guarded([] {
        // Before the windows list the folder: a leftover never shows in a list.
        removeRunLeftovers(homeFolder());
        createForms();
        Form1->show();
        QTimer::singleShot(0, Form1, guard([] {
                               const auto kept = recoveryFiles(homeFolder());
                               if (!kept.empty())
                                   dialogs().message(Form1, QString::fromLatin1(kAppTitle),
                                                     fileNameText(recoveryNotice(kept)),
                                                     MsgIcon::Information, Ok);
                           }));
        QApplication::exec();
    });
    destroyForms();
}

}  // namespace rostrix
