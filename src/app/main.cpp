#include <QApplication>
#include <exception>

#include "app/Forms.h"
#include "platform/gui/ErrorBox.h"
#include "shell/tmHome.h"

// The program takes no arguments and always returns 0.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(rostrix::kAppTitle));
    rostrix::guarded([] {
        rostrix::createForms();
        Form1->show();
        QApplication::exec();
    });
    rostrix::destroyForms();
    return 0;
}
