// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>
#include <string>

#include "update/HttpClient.h"

namespace Ui {
class TForm10;
}

// The download window: fetches the newest release archive into the home directory as
// kwyx.zip, with a status line, a progress bar and an abort link.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

    // The project site the archive comes from when set (tests point it at a local
    // server); empty means the main window's update site, read on every showing.
    std::string SiteBase;
    std::string DownloadFolder;
    rostrix::THttpClient HttpClient1;
    // The start delay after showing; the transfer begins when it fires.
    QTimer Timer1;

    void FormShow();
    void Timer1Timer();
    void HttpClient1PacketRecvd();
    void HttpClient1Success(int command);
    void HttpClient1Failure(int command);
    void Label2Click();

    // Where the archive ends up, and where it is received until the reply has succeeded.
    std::string archivePath() const;
    std::string partialPath() const;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fetchArchive();
    void keepOrDiscard();
    // Removes what was received and shows the failure, with reason as the tool tip.
    void discard(const std::string& reason);
    void showFailure();
    void showCause(const QString& cause);
    bool archiveArrived() const;
    std::string failureReason() const;
    void removePartial();
    void finish();

    std::unique_ptr<Ui::TForm10> ui;
    bool transferring_ = false;
    bool succeeded_ = false;
    bool closeRequested_ = false;
    std::string site_;  // the site of this showing
};
