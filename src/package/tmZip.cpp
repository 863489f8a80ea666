// SPDX-License-Identifier: GPL-3.0-or-later
#include "package/tmZip.h"

#include <QCoreApplication>
#include <QListWidget>
#include <filesystem>

#include "package/tmEMailTeam.h"
#include "platform/FolderListing.h"
#include "platform/gui/CompactPath.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "settings/HomeFolder.h"
#include "ui_tmZip.h"

using namespace rostrix;

std::string TForm7::PackageFolder;

namespace {

// Each entry's file name as the file system spells it, kept apart from its display text.
constexpr int kFileNameRole = Qt::UserRole;

QListWidgetItem* addCheckable(QListWidget* list, const std::string& name) {
    auto* item = new QListWidgetItem(fileNameText(name), list);
    item->setData(kFileNameRole, QByteArray::fromStdString(name));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    return item;
}

// The count, then every chosen file that was left out and why: none goes missing unsaid.
QString resultText(int count, const std::vector<std::string>& leftOut) {
    QString text = QStringLiteral("Done!\n%1 file%2 added")
                       .arg(count)
                       .arg(count == 1 ? QStringLiteral(" was") : QStringLiteral("s were"));
    if (!leftOut.empty()) text += QStringLiteral("\n\nNot added:");
    for (const std::string& why : leftOut) text += QLatin1Char('\n') + fileNameText(why);
    return text;
}

}  // namespace

TForm7::TForm7(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm7>()) {
    ui->setupUi(this);
    setFixedSize(587, 377);
    QFont f = font();
    f.setPixelSize(11);  // the size the window was laid out for
    setFont(f);
    QFont small = ui->Button1->font();
    small.setPixelSize(10);
    ui->Button1->setFont(small);

    ZipArchive1.OnFailure = [this](const std::string& text) {
        dialogs().message(this, QString::fromLatin1(kAppTitle), fileNameText(text), MsgIcon::Error,
                          Ok);
    };
    // Repaints go on while the archive is written; clicks wait until it is done.
    ZipArchive1.Pump = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };

    connect(ui->Button1, &QPushButton::clicked, this, guard([this] { Button1Click(); }));
    connect(ui->Button2, &QPushButton::clicked, this, guard([this] { Button2Click(); }));
    connect(ui->Button3, &QPushButton::clicked, this, guard([this] { Button3Click(); }));
    connect(ui->Button4, &QPushButton::clicked, this, guard([this] { Button4Click(); }));
    connect(ui->Button5, &QPushButton::clicked, this, guard([this] { Button5Click(); }));
    connect(ui->Button6, &QPushButton::clicked, this, guard([this] { Button6Click(); }));
    connect(ui->Button7, &QPushButton::clicked, this, guard([this] { Button7Click(); }));
    guarded([this] { FormCreate(); });
}

TForm7::~TForm7() {
    guarded([this] { FormDestroy(); });
}

QListWidget* TForm7::CheckListBox1() const {
    return ui->CheckListBox1;
}

QListWidget* TForm7::CheckListBox2() const {
    return ui->CheckListBox2;
}

void TForm7::FormCreate() {
    DatDirectory = homeFolder();
    ui->CheckListBox1->clear();
    ui->Label4->setText(fileNameText(DatDirectory));
    ZipArchive1.LoadZipLib();
    ZipArchive1.LoadUnzipLib();
    listFolder();
}

void TForm7::FormDestroy() {
    ZipArchive1.UnloadZipLib();
    ZipArchive1.UnloadUnzipLib();
}

void TForm7::listFolder() {
    ui->CheckListBox1->clear();
    for (const std::string& name : listFolderEntries(DatDirectory))
        addCheckable(ui->CheckListBox1, name);
}

void TForm7::offerFiles(const std::string& folder, const std::vector<std::string>& names) {
    DatDirectory = folder;
    ui->Label4->setText(fileNameText(DatDirectory));
    listFolder();
    ui->CheckListBox2->clear();
    for (const std::string& name : names) addCheckable(ui->CheckListBox2, name);
}

void TForm7::say(const QString& text) {
    dialogs().message(this, QString::fromLatin1(kAppTitle), text, MsgIcon::None, Ok);
}

void TForm7::Button1Click() {
    const auto chosen = dialogs().browseForFolder(this, QStringLiteral("Select Your .DAT Folder:"));
    // A choice without a file-system path keeps the folder: an empty one would turn the
    // names into paths at the root.
    if (chosen && !chosen->empty()) DatDirectory = *chosen;
    ui->Label4->setText(fileNameText(DatDirectory));
    listFolder();
}

void TForm7::Button6Click() {
    if (PackageFolder.empty()) PackageFolder = DatDirectory;
    FileDialogSpec dialog;
    dialog.title = QStringLiteral("Create A New Team Pack ZIP File");
    dialog.filter = QStringLiteral("ZIP Files|*.zip");
    dialog.defaultExt = QStringLiteral("zip");
    dialog.initialDir = fileNameText(PackageFolder);
    // The window asks its own overwrite question.
    dialog.confirmOverwrite = false;
    const auto chosen = dialogs().saveFile(this, dialog);
    if (!chosen) return;
    const std::string& name = *chosen;
    PackageFolder = std::filesystem::path(name).parent_path().string();

    std::error_code ec;
    const bool replace = std::filesystem::exists(name, ec);
    if (replace) {
        const int answer = dialogs().message(
            this, QStringLiteral("Confirm"),
            QStringLiteral("Overwrite Existing File: %1?").arg(fileNameText(name)),
            MsgIcon::Question, Yes | No);
        if (answer != Yes) return;
    }
    ZipArchive1.setZipFileName(name);
    // The old package stays until the new one is complete, so a failed Zip File loses nothing.
    if (replace) ZipArchive1.startAfresh();
    showPackageName();
}

void TForm7::showPackageName() {
    const QString full = fileNameText(ZipArchive1.ZipFileName());
    const QString shown = compactPath(full, ui->Label2->fontMetrics(), ui->Label2->width());
    ui->Label2->setText(shown);
    // The whole name as a hint only when the label could not show it.
    ui->Label2->setToolTip(shown != full ? full : QString());
}

void TForm7::Button4Click() {
    for (int i = 0; i < ui->CheckListBox1->count(); ++i) {
        const QListWidgetItem* item = ui->CheckListBox1->item(i);
        if (item->checkState() == Qt::Checked)
            addCheckable(ui->CheckListBox2, item->data(kFileNameRole).toByteArray().toStdString());
    }
}

void TForm7::Button3Click() {
    for (int i = ui->CheckListBox2->count() - 1; i >= 0; --i)
        if (ui->CheckListBox2->item(i)->checkState() == Qt::Checked)
            delete ui->CheckListBox2->takeItem(i);
}

void TForm7::Button2Click() {
    ui->CheckListBox2->clear();
}

void TForm7::setBusy(bool busy) {
    for (QWidget* b :
         {ui->Button1, ui->Button2, ui->Button3, ui->Button4, ui->Button5, ui->Button6})
        b->setEnabled(!busy);
}

void TForm7::Button5Click() {
    if (ui->Label2->text().isEmpty()) {
        say(QStringLiteral("You need to set a file name first."));
        return;
    }
    if (ui->CheckListBox2->count() == 0) {
        say(QStringLiteral("You need to select some files to zip."));
        return;
    }
    setBusy(true);
    // The buttons come back on every way out, the result message included.
    struct Enable {
        TForm7* form;
        ~Enable() { form->setBusy(false); }
    } enable{this};

    const std::string folder = ZipArchive::AppendSlash(DatDirectory);
    ZipArchive1.FSpecArgs.clear();
    for (int i = 0; i < ui->CheckListBox2->count(); ++i)
        ZipArchive1.FSpecArgs.push_back(
            folder + ui->CheckListBox2->item(i)->data(kFileNameRole).toByteArray().toStdString());
    int added = 0;
    try {
        added = ZipArchive1.Add();
    } catch (...) {
        say(QStringLiteral("Error in Add; Fatal DLL Exception in Main"));
        return;
    }
    // The archive's own error box is the whole answer: no "0 files were added" after it.
    if (ZipArchive1.lastErrorCode() == ZipArchive::kReported) return;
    say(resultText(added, ZipArchive1.leftOut()));
}

void TForm7::Button7Click() {
    centreOver(Form8, theMainWindow());
    dialogs().showModal(Form8);
}
