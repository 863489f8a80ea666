// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

#include "package/SmtpClient.h"

namespace Ui {
class TForm8;
}

// The team submission window: mails a team package (or any file) with a message to the
// team library through the user's outgoing mail server.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
    ~TForm8() override;

    rostrix::TSmtpClient SmtpClient1;

    void FormShow();
    void Button1Click();
    void Button2Click();

    void SmtpClient1Connect();
    void SmtpClient1SendStart();
    void SmtpClient1EncodeStart(const std::string& filename);
    void SmtpClient1EncodeEnd(const std::string& filename);
    void SmtpClient1Success();
    void SmtpClient1Failure();
    void SmtpClient1RecipientNotFound(const std::string& recipient);
    void SmtpClient1AttachmentNotFound(const std::string& filename);
    void SmtpClient1AuthenticationFailed(bool& handled);
    void SmtpClient1HeaderIncomplete(bool& handled, int hiType);

    // True while "Send" is at work.
    bool sending() const { return sending_; }

public slots:
    // Closing the window during a send asks first; stopping leaves a status saying so.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void send();
    void closeQuietly();
    void setStatus(const QString& text);
    // Keeps the window's controls from taking input while a send waits for the server.
    void lockInput(bool locked);

    std::unique_ptr<Ui::TForm8> ui;
    bool sending_ = false;
    bool cancelled_ = false;
    bool triedServer_ = false;  // the send got as far as the mail server
    bool asking_ = false;       // the question whether to stop a send is open
    QWidget* focusBeforeSend_ = nullptr;
};
