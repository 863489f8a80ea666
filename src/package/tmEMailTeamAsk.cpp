// SPDX-License-Identifier: GPL-3.0-or-later
// The questions the mail client asks the user during a send.
#include <QLineEdit>

#include "package/MailMessage.h"
#include "package/tmEMailTeam.h"
#include "platform/gui/Dialogs.h"
#include "ui_tmEMailTeam.h"

using namespace rostrix;

void TForm8::SmtpClient1AuthenticationFailed(bool& handled) {
    const auto answer = dialogs().inputBox(this, QStringLiteral("Authentication Failed"),
                                           QStringLiteral("Invalid User ID. New User ID: "),
                                           QString::fromLatin1(SmtpClient1.UserID));
    if (!answer) return;
    SmtpClient1.UserID = answer->toLatin1().toStdString();
    ui->Edit4->setText(*answer);
    handled = true;
}

// One value serves both questions, so a sender typed in the first box is offered as the
// recipient in the second.
void TForm8::SmtpClient1HeaderIncomplete(bool& handled, int hiType) {
    if (hiType != 1 && hiType != 2) return;
    QString value;
    if (hiType == 1) {
        if (const auto answer = dialogs().inputBox(this, QStringLiteral("Missing From Address"),
                                                   QStringLiteral("Enter From Address: "), value)) {
            value = *answer;
            SmtpClient1.MailMessage.FromAddress = value.toLatin1().toStdString();
            handled = true;
        }
    }
    if (const auto answer = dialogs().inputBox(this, QStringLiteral("Missing To Address"),
                                               QStringLiteral("Enter To Address: "), value)) {
        SmtpClient1.MailMessage.ToAddress = textLines(answer->toLatin1().toStdString());
        handled = true;
    }
}
