// SPDX-License-Identifier: GPL-3.0-or-later
#include "names/tmNames.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QShowEvent>
#include <filesystem>

#include "names/PassReport.h"
#include "names/tmNamesDuplicate.h"
#include "platform/FolderListing.h"
#include "platform/SameFile.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/CompactPath.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "platform/gui/PaneText.h"
#include "platform/gui/TabTypingBox.h"
#include "ui_tmNames.h"
#include "update/tmAbout.h"

using namespace rostrix;

namespace {

// The entry's file name as the file system spells it, kept apart from its display text.
constexpr int kFileNameRole = Qt::UserRole;

// Splits a path after one of its separators so that each of two lines fits, or gives
// nothing when it cannot.
std::optional<QString> splitInTwo(const QString& path, const QFontMetrics& metrics, int width) {
    const auto fits = [&](const QString& t) { return metrics.horizontalAdvance(t) <= width; };
    if (fits(path)) return path;
    for (int at = path.lastIndexOf(QLatin1Char('/'), -2); at >= 0;
         at = at == 0 ? -1 : path.lastIndexOf(QLatin1Char('/'), at - 1)) {
        const QString first = path.left(at + 1);
        if (!fits(first)) continue;
        const QString second = path.mid(at + 1);
        if (fits(second)) return first + QLatin1Char('\n') + second;
        return std::nullopt;
    }
    return std::nullopt;
}

// The folder on at most two lines of the label; leading folders give way to "..." when it
// is longer than that.
QString folderOnTwoLines(const QString& path, const QFontMetrics& metrics, int width) {
    const QString fitting = compactPath(
        path, [&](const QString& t) { return splitInTwo(t, metrics, width).has_value(); });
    return splitInTwo(fitting, metrics, width).value_or(fitting);
}

}  // namespace

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TForm5>()) {
    ui->setupUi(this);
    setFixedSize(552, 406);
    // Columns only line up in a fixed-pitch font.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(8);
    Memo1()->setFont(fixed);
    letCtrlTabLeave(Memo1());
    markAsStatus(ui->PassReport);

    OpenDialog1 = {QStringLiteral("Open"),
                   QStringLiteral("dat"),
                   QStringLiteral("QRD data files|*.dat"),
                   {},
                   {},
                   true};

    connect(ui->Button1, &QPushButton::clicked, this, guard([this] { Button1Click(); }));
    connect(ui->Button2, &QPushButton::clicked, this, guard([this] { Button2Click(); }));
    connect(ui->Button3, &QPushButton::clicked, this, guard([this] { Button3Click(); }));
    connect(ui->Button4, &QPushButton::clicked, this, guard([this] { Button4Click(); }));
    connect(ui->Button5, &QPushButton::clicked, this, guard([this] { Button5Click(); }));
    connect(ui->CheckBox1, &QCheckBox::toggled, this, guard([this] { CheckBox1Click(); }));
    connect(ui->CheckBox2, &QCheckBox::toggled, this,
            guard([this] { CheckBox2Click(ui->CheckBox2); }));
    connect(ui->CheckBox3, &QCheckBox::toggled, this,
            guard([this] { CheckBox2Click(ui->CheckBox3); }));
    connect(ui->CheckBox4, &QCheckBox::toggled, this, guard([this] { CheckBox4Click(); }));
}

TForm5::~TForm5() = default;

QPlainTextEdit* TForm5::Memo1() const {
    return ui->Memo1;
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) guarded([this] { FormShow(); });
}

// Every showing starts from the folder afresh; the current file, the options and Select
// All stay as they were.
void TForm5::FormShow() {
    showFolder();
    Memo1()->clear();
    WorkingBuffer.clear();
    loaded_ = false;
    fillFileList();
}

void TForm5::showFolder() {
    const QString folder = fileNameText(CurrentFolder);
    ui->Label3->setText(folderOnTwoLines(folder, ui->Label3->fontMetrics(), ui->Label3->width()));
    ui->Label3->setToolTip(folder);
    ui->Label3->setAccessibleName(folder);
}

// The folder's .dat files, each unchecked whatever Select All says.
void TForm5::fillFileList() {
    QListWidget* list = ui->CheckListBox1;
    list->clear();
    for (const std::string& name : listFilesInFolder(CurrentFolder, "dat")) {
        if (isArchiveFileName(name)) continue;
        auto* item = new QListWidgetItem(fileNameText(name), list);
        item->setData(kFileNameRole, QByteArray::fromStdString(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

DuplicateOption TForm5::duplicateOption() const {
    if (ui->CheckBox1->isChecked()) return DuplicateOption::Prompt;
    if (ui->CheckBox2->isChecked()) return DuplicateOption::AutoEncrypt;
    if (ui->CheckBox3->isChecked()) return DuplicateOption::AutoFix;
    return DuplicateOption::None;
}

NamePass TForm5::namePass() {
    return NamePass(duplicateOption(),
                    [this](const DuplicateName& name) { return askForDuplicate(name); });
}

std::optional<char> TForm5::askForDuplicate(const DuplicateName& name) {
    Form6->prepare(name);
    centreOver(Form6, theMainWindow());
    dialogs().showModal(Form6);
    return Form6->chosenCharacter();
}

// Reads first, so a file that cannot be read changes nothing.
void TForm5::loadFile(const std::string& path) {
    std::vector<std::string> lines = readTeamFileLines(path);
    Memo1()->clear();
    WorkingBuffer = std::move(lines);
    setPaneLines(Memo1(), WorkingBuffer);
    CurrentFile = path;
    loaded_ = true;
}

// The buffer takes the new lines only once they are in the file: a pass abandoned half
// way, or a file that cannot be written, leaves buffer and file as they were, so pressing
// Go! again runs the same pass on the same lines.
PassCount TForm5::passAndSave() {
    std::vector<std::string> written = rostrix::passAndSave(namePass(), CurrentFile, WorkingBuffer);
    const PassCount count = countPass(WorkingBuffer, written, duplicateOption());
    WorkingBuffer = std::move(written);
    Memo1()->clear();
    setPaneLines(Memo1(), WorkingBuffer);
    return count;
}

// Says what the last Go! or Fix Selected did, beside the pane; the whole text in its tip.
void TForm5::showReport(const std::string& text) {
    const QString shown = fileNameText(text);
    ui->PassReport->setText(
        ui->PassReport->fontMetrics().elidedText(shown, Qt::ElideMiddle, ui->PassReport->width()));
    ui->PassReport->setToolTip(shown);
}

// Go!
void TForm5::Button1Click() {
    if (!loaded_) {
        dialogs().message(this, QString::fromLatin1(kAppTitle),
                          QStringLiteral("Open a team file first: Go! encodes the names of "
                                         "the file opened with Open."),
                          MsgIcon::None, Ok);
        return;
    }
    showReport({});
    try {
        showReport(
            passReport(passAndSave(), std::filesystem::path(CurrentFile).filename().string()));
    } catch (const std::exception& e) {
        // The error box says why; the pane says what was left as it was.
        Memo1()->appendPlainText(
            QStringLiteral("\n") +
            fileNameText(stoppedRunReport(
                0, 1, std::filesystem::path(CurrentFile).filename().string(), e.what())));
        throw;
    }
}

// Change Dir. The list is filled again even when the user cancels, which clears the
// check marks.
void TForm5::Button2Click() {
    const auto chosen =
        dialogs().browseForFolder(nullptr, QStringLiteral("Select Your QRD .DAT File Folder:"));
    if (chosen) CurrentFolder = *chosen;
    showFolder();
    fillFileList();
}

// Open
void TForm5::Button3Click() {
    OpenDialog1.initialDir = fileNameText(CurrentFolder);
    const auto chosen = dialogs().openFile(this, OpenDialog1);
    if (!chosen) return;
    loadFile(*chosen);
}

// About
void TForm5::Button4Click() {
    centreOver(Form2, theMainWindow());
    dialogs().showModal(Form2);
}

// Fix Selected: every checked file in list order, each file once: a second name of a file
// already passed (a link) would run the pass again and undo it. The first file that cannot
// be read, encoded or written ends the run; the files before it stay written. The pane
// ends empty, or names the entries left out.
void TForm5::Button5Click() {
    QListWidget* list = ui->CheckListBox1;
    std::vector<std::string> checked;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            checked.push_back(list->item(i)->data(kFileNameRole).toByteArray().toStdString());
    if (checked.empty()) return showReport(kNothingTicked);
    showReport({});
    const OnePerFile files = onePerFile(CurrentFolder, checked);
    std::vector<PassCount> counts;
    std::size_t changed = 0;
    for (const std::string& name : files.names) {
        Memo1()->clear();
        WorkingBuffer.clear();
        loaded_ = false;
        try {
            loadFile(CurrentFolder + "/" + name);
            counts.push_back(passAndSave());
        } catch (const std::exception& e) {
            // The error box says why; the pane says what was done and what was left.
            Memo1()->setPlainText(
                fileNameText(stoppedRunReport(changed, files.names.size(), name, e.what())));
            throw;
        }
        ++changed;
        Memo1()->clear();
    }
    showReport(fixSelectedReport(counts));
    for (const SameFile& skipped : files.skipped)
        Memo1()->appendPlainText(
            QStringLiteral("Left out %1: the same file as %2.")
                .arg(fileNameText(skipped.name), fileNameText(skipped.sameAs)));
}

void TForm5::CheckBox1Click() {
    if (!ui->CheckBox1->isChecked()) return;
    ui->CheckBox2->setChecked(false);
    ui->CheckBox3->setChecked(false);
}

// Auto Encrypt and Auto Fix: at most one option is on.
void TForm5::CheckBox2Click(QCheckBox* sender) {
    if (!sender->isChecked()) return;
    ui->CheckBox1->setChecked(false);
    (sender == ui->CheckBox2 ? ui->CheckBox3 : ui->CheckBox2)->setChecked(false);
}

// Select All
void TForm5::CheckBox4Click() {
    const Qt::CheckState state = ui->CheckBox4->isChecked() ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < ui->CheckListBox1->count(); ++i)
        ui->CheckListBox1->item(i)->setCheckState(state);
}
