// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/tmDownload.h"

#include <QCoreApplication>
#include <QShowEvent>
#include <cstdio>
#include <filesystem>

#include "platform/Error.h"
#include "platform/ExitRequest.h"
#include "platform/LineFile.h"
#include "platform/ReplacingFile.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/CloseOnSignal.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/GlobalForms.h"
#include "platform/gui/PlainToolTip.h"
#include "settings/HomeFolder.h"
#include "settings/UpdateSite.h"
#include "ui_tmDownload.h"
#include "update/ArchiveCheck.h"
#include "update/DownloadProgress.h"
#include "update/gui/SiteSetting.h"

using namespace rostrix;

TForm10::TForm10(QWidget* parent)
    : QDialog(parent, Qt::MSWindowsFixedSizeDialogHint), ui(new Ui::TForm10) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Timer1.setInterval(5000);
    connect(&Timer1, &QTimer::timeout, this, guard([this] { Timer1Timer(); }));
    // Tab reaches the abort link, Enter or Space aborts; the status line, before it in the
    // tab order, takes the first focus, so a stray Enter aborts nothing.
    makeActivatable(ui->Label2, LabelActsAs::Link, [this] { Label2Click(); });
    markAsStatus(ui->Label1);
    ui->Label1->setFocusPolicy(Qt::TabFocus);
    // Why a download failed, in words under the status line; what a server said is text.
    ui->CauseLine->setTextFormat(Qt::PlainText);
    markAsStatus(ui->CauseLine);
    setTabOrder(ui->Label1, ui->Label2);

    HttpClient1.InputFileMode = true;
    HttpClient1.Body = kArchiveName;
    HttpClient1.Header = "Head.txt";
    HttpClient1.socket().pump = [] { QCoreApplication::processEvents(); };
    HttpClient1.TotalTimeoutMs = kDownloadLimitMs;
    HttpClient1.OnPacketRecvd = [this] { HttpClient1PacketRecvd(); };
    HttpClient1.OnSuccess = [this](int command) { HttpClient1Success(command); };
    HttpClient1.OnFailure = [this](int command) { HttpClient1Failure(command); };
}

TForm10::~TForm10() = default;

std::string TForm10::archivePath() const {
    return DownloadFolder + "/" + kArchiveName;
}
std::string TForm10::partialPath() const {
    return DownloadFolder + "/" + kPartialArchiveName;
}

void TForm10::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) guarded([this] { FormShow(); });
}

void TForm10::FormShow() {
    DownloadFolder = homeFolder();
    site_ = !SiteBase.empty() ? SiteBase : updateSite(this);
    ui->Animate1->start();
    ui->ProgressBar1->setRange(0, kProgressMax);
    ui->ProgressBar1->setValue(0);
    HttpClient1.Body = partialPath();
    Timer1.start();
}

void TForm10::Timer1Timer() {
    Timer1.stop();
    closeRequested_ = false;
    showCause({});
    try {
        fetchArchive();
    } catch (const std::exception& e) {
        showCause(QString::fromLocal8Bit(e.what()));
        // A close asked for during the transfer still happens, after the error too.
        if (closeRequested_) finish();
        // Ended for the program's end: the transfer was stopped, nobody is there to tell.
        if (exitRequested()) return;
        throw;
    }
    // A failure stays on screen until the user closes the window; a success closes it.
    if (succeeded_ || closeRequested_) finish();
}

void TForm10::finish() {
    ui->Animate1->stop();
    QDialog::reject();
    // A close for the program's end waited for the transfer; it goes on now.
    resumeExit();
}

// The archive is received beside kwyx.zip and takes its name only when the reply
// succeeded, so an abort or an error page never replaces a good archive. Whatever goes
// wrong, the status line says so, the animation stops and the window can be closed.
void TForm10::fetchArchive() {
    succeeded_ = false;
    // A folder, a pipe or a loop of links under either name is named and left alone; no
    // request is sent.
    for (const auto& [path, pattern] : {std::pair{archivePath(), "Unable to write to %s"},
                                        std::pair{partialPath(), "Cannot create file %s"}})
        if (const int why = notAFileReason(path)) {
            showFailure();
            throw Error(fileFailureText(pattern, path, why));
        }
    transferring_ = true;
    // What a download that was killed left behind.
    removePartial();
    try {
        try {
            HttpClient1.Get(site_ + kReleaseArchive);
        } catch (const Error& e) {
            // The user knows the archive by its own name, not by the one it is received under.
            std::string text = e.what();
            const std::string part = partialPath();
            for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at))
                text.replace(at, part.size(), archivePath());
            throw Error(text);
        }
        transferring_ = false;
        keepOrDiscard();
    } catch (...) {
        transferring_ = false;
        removePartial();
        showFailure();
        throw;
    }
}

void TForm10::keepOrDiscard() {
    if (!archiveArrived()) {
        discard(failureReason());
        // The bar followed the server's error page, not the archive.
        if (!successStatus(HttpClient1.statusCode())) {
            ui->ProgressBar1->setRange(0, kProgressMax);
            ui->ProgressBar1->setValue(0);
        }
        return;
    }
    // Every block was checked as it was written; what the disk still holds back must be
    // on it too before the archive takes its name.
    if (!syncFile(partialPath()))
        throw Error(fileFailureText("Unable to write to %s", archivePath(), errno));
    // A body cut short without the server saying so still ends mid-archive: only a whole
    // one replaces what is there.
    if (const auto problem = zipArchiveProblem(partialPath())) {
        discard(*problem);
        return;
    }
    if (std::rename(partialPath().c_str(), archivePath().c_str()) != 0)
        throw Error(fileFailureText("Unable to write to %s", archivePath(), errno));
    // Only now is the archive in place.
    succeeded_ = true;
    ui->Label1->setText("Status:  Successful download of the Rostrix.");
}

void TForm10::discard(const std::string& reason) {
    succeeded_ = false;  // the window stays open with the failure
    removePartial();
    showFailure();
    showCause(QString::fromLatin1(reason));
}

void TForm10::showCause(const QString& cause) {
    setPlainToolTip(ui->Label1, cause);
    ui->CauseLine->setText(cause);
}

// A reply from 200 to 299 that brought a whole body: the archive, once it passes its check.
bool TForm10::archiveArrived() const {
    return successStatus(HttpClient1.statusCode()) &&
           downloadComplete(HttpClient1.bytesReceived(), HttpClient1.bytesTotal());
}

// Only a file of ours goes; a folder the user happens to keep under that name stays.
void TForm10::removePartial() {
    std::error_code ec;
    if (std::filesystem::is_regular_file(partialPath(), ec))
        std::filesystem::remove(partialPath(), ec);
}

// What the server said: its status line, or how much of the archive came.
std::string TForm10::failureReason() const {
    if (!successStatus(HttpClient1.statusCode())) {
        const std::string& header = HttpClient1.Header;
        return "The server answered: " + header.substr(0, header.find_first_of("\r\n"));
    }
    return "The server sent " + std::to_string(HttpClient1.bytesReceived()) + " of " +
           std::to_string(HttpClient1.bytesTotal()) + " bytes, then closed the connection.";
}

void TForm10::showFailure() {
    ui->Label1->setText("Status:  Failed to download the Rostrix.");
    ui->Animate1->stop();
    // A bar that showed a transfer of unknown size stops moving with the animation.
    if (ui->ProgressBar1->maximum() == 0) {
        ui->ProgressBar1->setRange(0, kProgressMax);
        ui->ProgressBar1->setValue(0);
    }
}

void TForm10::HttpClient1PacketRecvd() {
    const long long received = HttpClient1.bytesReceived();
    const long long total = HttpClient1.bytesTotal();
    ui->Label1->setText(QString::fromLatin1(downloadStatusText(received, total)));
    if (const auto position = downloadPosition(received, total)) {
        ui->ProgressBar1->setRange(0, kProgressMax);
        ui->ProgressBar1->setValue(*position);
    } else {
        ui->ProgressBar1->setRange(0, 0);  // size unknown: the bar shows it is busy
    }
}

void TForm10::HttpClient1Success(int command) {
    if (command != THttpClient::kGet) return;
    // Only a reply from 200 to 299 carries the archive; 1xx, or a status line without a
    // number, does not. The success text waits until the archive has its name.
    if (!archiveArrived()) HttpClient1Failure(command);
}

void TForm10::HttpClient1Failure(int command) {
    if (command != THttpClient::kGet) return;
    ui->Label1->setText("Status:  Failed to download the Rostrix.");
}

void TForm10::Label2Click() {
    HttpClient1.Abort();
    ui->Animate1->stop();
    Timer1.stop();
    QDialog::reject();
}

// The close box: before the transfer it cancels the pending start like the abort link;
// during the transfer the window closes when the transfer has finished.
void TForm10::reject() {
    if (transferring_) {
        closeRequested_ = true;
        // The program is asked to end: a transfer that may never finish is stopped, and the
        // window closes as it unwinds (the earlier archive stays, nothing received does).
        if (exitRequested()) HttpClient1.Abort();
        return;
    }
    Timer1.stop();
    ui->Animate1->stop();
    QDialog::reject();
}
