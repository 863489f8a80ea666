// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/tmAbout.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>

#include "platform/Error.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/Clicks.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/GlobalForms.h"
#include "settings/UpdateSite.h"
#include "ui_tmAbout.h"
#include "update/VersionCheck.h"
#include "update/gui/SiteSetting.h"
#include "update/tmDownload.h"

using namespace rostrix;

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::MSWindowsFixedSizeDialogHint), ui(new Ui::TForm2) {
    Q_INIT_RESOURCE(update);  // the icon lives in a static library
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    ui->Label5->setText(QString::fromLatin1(std::string(kSiteBase) + kHomePage));
    for (QWidget* closer : {static_cast<QWidget*>(ui->Image1), static_cast<QWidget*>(ui->Label1),
                            static_cast<QWidget*>(ui->Label2), static_cast<QWidget*>(ui->Label3),
                            static_cast<QWidget*>(ui->Label4)})
        onClick(closer, [this] { FormClick(); });
    makeActivatable(ui->Label5, LabelActsAs::Link, [this] { Label5Click(); });
    makeActivatable(ui->Label6, LabelActsAs::Button, [this] { Label6Click(); });
    HttpClient1.socket().pump = [] { QCoreApplication::processEvents(); };
    HttpClient1.TotalTimeoutMs = kVersionCheckLimitMs;
    // The window itself holds the focus when it opens, so a stray Enter closes it rather
    // than opening a browser or starting a check; Tab goes on to the link and the check.
    setFocusPolicy(Qt::ClickFocus);
}

TForm2::~TForm2() = default;

std::string TForm2::siteBase() {
    if (!SiteBase.empty()) return SiteBase;
    return updateSite(this);
}

// The link shows the site in use, which the settings file may change between showings;
// an address too long for the window loses its middle, and the tool tip holds it whole.
void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    const QString address = QString::fromLatin1(siteBase() + kHomePage);
    ui->Label5->setText(
        ui->Label5->fontMetrics().elidedText(address, Qt::ElideMiddle, ui->Label5->width()));
    ui->Label5->setToolTip(address);
    setFocus(Qt::OtherFocusReason);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier &&
        (!focusWidget() || focusWidget() == this)) {
        event->accept();
        guarded([this] { FormClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) guarded([this] { FormClick(); });
}

void TForm2::FormClick() {
    close();
}

void TForm2::Label5Click() {
    if (!dialogs().openUrl(QString::fromLatin1(siteBase() + kHomePage)))
        dialogs().message(this, QString::fromLatin1(kAppTitle),
                          "Unable to connect to the Run QRD website.", MsgIcon::None, Ok);
}

void TForm2::reject() {
    if (HttpClient1.connected()) {
        checkCancelled_ = true;
        HttpClient1.Abort();
    }
    QDialog::reject();
}

void TForm2::Label6Click() {
    // A second click while a check waits for the site starts nothing: the first one answers.
    if (HttpClient1.connected()) return;
    checkCancelled_ = false;
    try {
        // The arrow stays usable (the window can still be closed); it only shows the wait.
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        HttpClient1.Get(siteBase() + kVersionPage);
    } catch (const Error&) {
        if (checkCancelled_) return;  // the user closed the window: nothing to report
        throw;
    }
    const VersionVerdict verdict = judgeVersionPage(HttpClient1.statusCode(), HttpClient1.Body);
    const QString text = QString::fromLatin1(verdict.text);
    if (verdict.kind != VersionVerdict::NewVersion) {
        dialogs().message(this, QString::fromLatin1(kAppTitle), text, MsgIcon::None, Ok);
        return;
    }
    if (dialogs().message(this, "Information", text, MsgIcon::Information, Yes | No) != Yes) return;
    centreOver(Form10, theMainWindow());
    dialogs().showModal(Form10);
}
