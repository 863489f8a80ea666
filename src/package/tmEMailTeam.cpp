// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/tmEMailTeam.h"

#include <QCoreApplication>
#include <QShowEvent>

#include "package/MailServer.h"
#include "platform/Error.h"
#include "platform/ExitRequest.h"
#include "platform/ProfileFile.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/Clicks.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "platform/gui/PlainToolTip.h"
#include "platform/gui/TabTypingBox.h"
#include "settings/HomeFolder.h"
#include "settings/LibraryAddress.h"
#include "settings/SettingsKeys.h"
#include "ui_tmEMailTeam.h"

using namespace rostrix;

namespace {

std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}
QString textOf(const std::string& bytes) {
    return QString::fromLatin1(bytes);
}

}  // namespace

TForm8::TForm8(QWidget* parent)
    : QDialog(parent, Qt::MSWindowsFixedSizeDialogHint), ui(new Ui::TForm8) {
    ui->setupUi(this);
    QFont f = font();  // the size the layout was made for, as in the main window
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(size());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    connect(ui->Button1, &QPushButton::clicked, this, guard([this] { Button1Click(); }));
    connect(ui->Button2, &QPushButton::clicked, this, guard([this] { Button2Click(); }));
    onClick(ui->Label3, [this] { Button1Click(); });
    onClick(ui->Label7, [this] { Button1Click(); });
    markAsStatus(ui->Label6);
    ui->Label6->setTextFormat(Qt::PlainText);  // names and paths are never taken as markup
    letCtrlTabLeave(ui->Memo1);

    SmtpClient1.Port = 25;
    SmtpClient1.SubType = mtPlain;
    SmtpClient1.EncodeType = uuMime;
    SmtpClient1.Charset = "us-ascii";
    SmtpClient1.ClearParams = true;
    SmtpClient1.socket().pump = [] { QCoreApplication::processEvents(); };
    SmtpClient1.OnConnect = [this] { SmtpClient1Connect(); };
    SmtpClient1.OnSendStart = [this] { SmtpClient1SendStart(); };
    SmtpClient1.OnEncodeStart = [this](const std::string& f) { SmtpClient1EncodeStart(f); };
    SmtpClient1.OnEncodeEnd = [this](const std::string& f) { SmtpClient1EncodeEnd(f); };
    SmtpClient1.OnSuccess = [this] { SmtpClient1Success(); };
    SmtpClient1.OnFailure = [this] { SmtpClient1Failure(); };
    SmtpClient1.OnRecipientNotFound = [this](const std::string& r) {
        SmtpClient1RecipientNotFound(r);
    };
    SmtpClient1.OnAttachmentNotFound = [this](const std::string& f) {
        SmtpClient1AttachmentNotFound(f);
    };
    SmtpClient1.OnAuthenticationFailed = [this](bool& handled) {
        SmtpClient1AuthenticationFailed(handled);
    };
    SmtpClient1.OnHeaderIncomplete = [this](bool& handled, int hiType) {
        SmtpClient1HeaderIncomplete(handled, hiType);
    };
    SmtpClient1.OnPassword = [this](std::string& password) {
        const auto answer = dialogs().passwordBox(
            this, QString::fromLatin1(kAppTitle),
            QStringLiteral("Password for %1 at %2:")
                .arg(QString::fromStdString(SmtpClient1.Login), textOf(SmtpClient1.Host)));
        if (!answer) return false;
        password = answer->toUtf8().toStdString();
        return true;
    };
}

TForm8::~TForm8() = default;

void TForm8::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) guarded([this] { FormShow(); });
}

void TForm8::FormShow() {
    for (QLineEdit* edit : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4}) edit->clear();
    ui->Memo1->clear();
    ui->ListBox1->clear();
    // A user who always sends through the same server may name it, and the sender, once.
    const ProfileFile ini(rostrix::settingsPath());
    ui->Edit3->setText(textOf(ini.read(settings::kMail, settings::kServer, "")));
    ui->Edit1->setText(textOf(ini.read(settings::kMail, settings::kFrom, "")));
}

void TForm8::setStatus(const QString& text) {
    ui->Label6->setText(text);
    // The label is narrow; its hint shows a long path in full.
    setPlainToolTip(ui->Label6, text);
}

void TForm8::Button1Click() {
    if (sending_) return;
    FileDialogSpec dialog;
    dialog.title = QStringLiteral("Attach file");
    dialog.filter = QStringLiteral("Zip Files|*.zip");
    dialog.defaultExt = QStringLiteral("zip");
    dialog.confirmOverwrite = false;
    if (const auto chosen = dialogs().openFile(this, dialog)) {
        // The list shows the path; the item keeps it as the file system spells it.
        auto* item = new QListWidgetItem(fileNameText(*chosen), ui->ListBox1);
        item->setData(Qt::UserRole, QByteArray::fromStdString(*chosen));
    }
}

void TForm8::Button2Click() {
    if (sending_) return;  // one send at a time, whatever reaches the window meanwhile
    if (ui->Edit3->text().isEmpty()) {
        dialogs().message(this, QString::fromLatin1(kAppTitle),
                          QStringLiteral("You must enter your mail server address!\n"
                                         " This can be found in your e-mail software."),
                          MsgIcon::None, Ok);
        return;
    }
    if (ui->ListBox1->count() == 0 &&
        dialogs().message(this, QString::fromLatin1(kAppTitle),
                          QStringLiteral("No team package is attached. Send the message anyway?"),
                          MsgIcon::Question, Yes | No) != Yes)
        return;
    sending_ = true;
    cancelled_ = false;
    lockInput(true);
    struct Unlock {
        TForm8* form;
        ~Unlock() {
            form->sending_ = false;
            form->lockInput(false);
        }
    } unlock{this};
    try {
        // Left connected by an error in the last send: that connection is closed (what the
        // server says to it no longer matters) and this press sends anew.
        if (SmtpClient1.connected()) closeQuietly();
        send();
    } catch (const std::exception& e) {
        if (cancelled_) return closeQuietly();
        const std::string text =
            sendFailureText(SmtpClient1.stage(), e.what(),
                            {SmtpClient1.Host, SmtpClient1.Port, SmtpClient1.Security},
                            {SmtpClient1.UserID, SmtpClient1.refusedHello()});
        // The status line says it too, never left on a step under way ("Sending Message").
        const std::string why = triedServer_ && !text.empty() ? text : e.what();
        const QString step = ui->Label6->text();
        if (step.isEmpty() || step == QStringLiteral("Connected") ||
            step == QStringLiteral("Sending Message") || step.endsWith(QStringLiteral(" encoded")))
            setStatus(QStringLiteral("Message not sent: ") + textOf(why.substr(0, why.find('\n'))));
        if (!triedServer_ || text.empty()) throw;
        throw Error(text);
    }
}

// Closes the connection; what the server says to QUIT no longer matters.
void TForm8::closeQuietly() {
    try {
        SmtpClient1.Disconnect();
    } catch (...) {
    }
}

void TForm8::send() {
    // An earlier outcome never stands beside this send's.
    setStatus({});
    triedServer_ = false;
    const ProfileFile ini(rostrix::settingsPath());
    const MailServer server =
        mailServer(bytesOf(ui->Edit3->text()), ini.read(settings::kMail, settings::kSecurity, ""));
    SmtpClient1.Host = server.host;
    SmtpClient1.Port = server.port;
    SmtpClient1.Security = server.security;
    // The login is the User ID when one is typed, else the sender's address.
    // Sent inside the login, as UTF-8 like the password.
    SmtpClient1.Login = (ui->Edit4->text().isEmpty() ? ui->Edit1->text() : ui->Edit4->text())
                            .toUtf8()
                            .toStdString();
    // A user id typed here is the one to introduce with; else the one kept from before.
    if (!ui->Edit4->text().isEmpty()) SmtpClient1.UserID = bytesOf(ui->Edit4->text());
    triedServer_ = true;
    SmtpClient1.Connect();
    SmtpClient1.ClearParameters();
    SmtpClient1.SubType = mtPlain;
    SmtpClient1.EncodeType = uuMime;
    TMailMessage& m = SmtpClient1.MailMessage;
    m.FromAddress = bytesOf(ui->Edit1->text());
    m.ToAddress = {libraryAddress(rostrix::settingsPath())};
    m.Body = textLines(bytesOf(ui->Memo1->toPlainText()));
    for (int i = 0; i < ui->ListBox1->count(); ++i)
        m.Attachments.push_back(
            ui->ListBox1->item(i)->data(Qt::UserRole).toByteArray().toStdString());
    m.Subject = bytesOf(ui->Edit2->text());
    m.ReplyTo = bytesOf(ui->Edit1->text());
    SmtpClient1.SendMail();
    if (SmtpClient1.connected()) SmtpClient1.Disconnect();
}

void TForm8::lockInput(bool locked) {
    if (locked) focusBeforeSend_ = focusWidget();
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Memo1,
                                         ui->ListBox1, ui->Button1, ui->Button2})
        w->setEnabled(!locked);
    if (!locked && focusBeforeSend_) focusBeforeSend_->setFocus();
}

void TForm8::reject() {
    if (sending_) {
        if (asking_) return;  // the question is already open
        asking_ = true;
        // Made to end (a log-out), the send stops unasked: it is not called sent.
        const int answer = exitRequested()
                               ? Yes
                               : dialogs().message(this, QString::fromLatin1(kAppTitle),
                                                   QStringLiteral("A mail is being sent. Stop it?"),
                                                   MsgIcon::Question, Yes | No);
        asking_ = false;
        // The send may have ended while the question was open: then there is nothing to stop.
        if (answer != Yes) return;
        if (sending_) {
            cancelled_ = true;
            SmtpClient1.Abort();
            setStatus(
                QStringLiteral("Sending stopped: the library may not have received the mail"));
        }
    }
    QDialog::reject();
}

void TForm8::SmtpClient1Connect() {
    setStatus(QStringLiteral("Connected"));
}

void TForm8::SmtpClient1SendStart() {
    setStatus(QStringLiteral("Sending Message"));
}

void TForm8::SmtpClient1EncodeStart(const std::string& filename) {
    setStatus(QStringLiteral("Encoding ") + fileNameText(filename));
}

void TForm8::SmtpClient1EncodeEnd(const std::string& filename) {
    setStatus(fileNameText(filename) + QStringLiteral(" encoded"));
}

void TForm8::SmtpClient1Success() {
    setStatus(QStringLiteral("Message sent successfully"));
}

void TForm8::SmtpClient1Failure() {
    setStatus(QStringLiteral("Message delivery failure"));
}

void TForm8::SmtpClient1RecipientNotFound(const std::string& recipient) {
    setStatus(QStringLiteral("Recipient ") + textOf(recipient) + QStringLiteral(" not found"));
}

void TForm8::SmtpClient1AttachmentNotFound(const std::string& filename) {
    setStatus(QStringLiteral("File attachment ") + fileNameText(filename) +
              QStringLiteral(" not found"));
}
