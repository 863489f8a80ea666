#include <QApplication>
#include <exception>

#include "app/Forms.h"
#include "platform/gui/CloseOnSignal.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/ProgramIcon.h"
#include "shell/tmHome.h"

// The program takes no arguments and always returns 0.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(rostrix::kAppTitle));
    rostrix::installProgramIcon();
    // Asked to end by the session or a terminal, the program closes as its main window does.
    const rostrix::CloseOnSignal closeOnSignal([] {
        if (Form1) rostrix::closeForExit(Form1);
    });
    rostrix::guarded([] {
        rostrix::createForms();
        Form1->show();
        QApplication::exec();
    });
    rostrix::destroyForms();
    return 0;
}
