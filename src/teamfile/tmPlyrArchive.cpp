// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/tmPlyrArchive.h"

#include <QFontDatabase>
#include <QStyledItemDelegate>

#include "careers/tmCareers.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "settings/HomeFolder.h"
#include "teamfile/ArchiveReport.h"
#include "teamfile/PlayerArchive.h"
#include "teamfile/TeamFileCheck.h"
#include "ui_tmPlyrArchive.h"

namespace {

// Rows 14 pixels high, so a team fits the list much as it fits the editor.
class FixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(14);
        return size;
    }
};

}  // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TForm3>()) {
    ui->setupUi(this);
    setFixedSize(689, 400);
    // A fixed-pitch font keeps the team file's columns lined up.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    ui->CheckListBox1->setFont(font);
    ui->CheckListBox1->setItemDelegate(new FixedRowDelegate(ui->CheckListBox1));
    rostrix::markAsStatus(ui->Label2);
    connect(ui->Button1, &QPushButton::clicked, this, rostrix::guard([this] { Button1Click(); }));
    connect(ui->Button2, &QPushButton::clicked, this, rostrix::guard([this] { Button2Click(); }));
    connect(ui->Button3, &QPushButton::clicked, this, rostrix::guard([this] { Button3Click(); }));
    connect(ui->Button4, &QPushButton::clicked, this, rostrix::guard([this] { Button4Click(); }));
    rostrix::guarded([this] { FormCreate(); });
}

TForm3::~TForm3() = default;

void TForm3::FormCreate() {
    ArchiveDirectory = rostrix::homeFolder();
}

void TForm3::setTeamLines(const std::vector<std::string>& lines) {
    ui->CheckListBox1->clear();
    for (const auto& line : lines) {
        auto* item = new QListWidgetItem(
            QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())),
            ui->CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool rostrix::fileIntoArchive(QWidget* owner, const std::string& teamFile,
                              const std::vector<std::string>& lines, const char* archiveName) {
    // An empty team files nothing, so there is nothing to ask about.
    const std::size_t problems = lines.empty() ? 0 : checkTeamFile(lines).size();
    return problems == 0 ||
           dialogs().message(owner, QString::fromLatin1(kAppTitle),
                             fileNameText(fileAnywayQuestion(teamFile, problems, archiveName)),
                             MsgIcon::Warning, Yes | No) == Yes;
}

void TForm3::Button1Click() {
    writePlayers({});
}

// With no player ticked there is nothing to file, and nothing is asked or written.
void TForm3::Button2Click() {
    const std::vector<bool> checked = checkedLines();
    if (rostrix::playerSectionsFiled(teamLines(), checked) == 0)
        return showStatus("Nothing is ticked: tick the players to file.");
    writePlayers(checked);
}

// Write all (no flags) or Write Checked; "Done!" is followed by where the seasons went.
void TForm3::writePlayers(const std::vector<bool>& checked) {
    const std::vector<std::string> lines = teamLines();
    if (!rostrix::fileIntoArchive(this, TeamFile, lines, "player.dat")) return;
    const auto status = [this](const char* t) { showStatus(t); };
    try {
        if (checked.empty())
            rostrix::writeAllPlayers(archivePath(), lines, status);
        else
            rostrix::writeCheckedPlayers(archivePath(), lines, checked, status);
    } catch (const std::exception& e) {
        // The window says it too, never left on "Writing data..." (the error box follows).
        showStatus(("Nothing was filed: " + std::string(e.what())).c_str());
        ui->Label2->setToolTip(ui->Label2->text());
        throw;
    }
    const std::string report =
        rostrix::filedReport("player.dat", rostrix::playerSectionsFiled(lines, checked), " ");
    showStatus(report.c_str());
    ui->Label2->setToolTip(rostrix::fileNameText(archivePath()));
}

void TForm3::Button3Click() {
    close();
}

// Careers: reads back the archive this window writes.
void TForm3::Button4Click() {
    rostrix::openCareers(this, ArchiveDirectory);
}

std::string TForm3::archivePath() const {
    return ArchiveDirectory + "/player.dat";
}

std::vector<std::string> TForm3::teamLines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < ui->CheckListBox1->count(); ++i)
        lines.push_back(ui->CheckListBox1->item(i)->text().toLatin1().toStdString());
    return lines;
}

std::vector<bool> TForm3::checkedLines() const {
    std::vector<bool> checked;
    for (int i = 0; i < ui->CheckListBox1->count(); ++i)
        checked.push_back(ui->CheckListBox1->item(i)->checkState() == Qt::Checked);
    return checked;
}

void TForm3::showStatus(const char* text) {
    ui->Label2->setText(QString::fromLatin1(text));
    emit statusShown(ui->Label2->text());
}
