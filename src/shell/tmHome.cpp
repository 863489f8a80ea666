// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tmHome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QLayout>
#include <filesystem>

#include "careers/tmCareers.h"
#include "names/tmNames.h"
#include "package/tmZip.h"
#include "platform/Error.h"
#include "platform/ProfileFile.h"
#include "platform/gui/CompactPath.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "settings/HomeFolder.h"
#include "settings/SettingsKeys.h"
#include "shell/TeamCommand.h"
#include "shell/tmHomeLayout.h"
#include "shell/tmPlayoffs.h"
#include "shell/tmSeason.h"
#include "shell/tmTeamCommands.h"
#include "ui_tmHome.h"
#include "update/tmAbout.h"

using namespace rostrix;

namespace {

constexpr int kClientWidth = 266;
constexpr int kLaidOutHeight = 363;
constexpr int kTypingLimit = 8;

std::string currentDirectory() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ui(new Ui::TForm1) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    ui->ClientArea->setFixedSize(kClientWidth, kLaidOutHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Seasons run up to the current one, so a current database can be used whole.
    ui->CSpinEdit1->setLimits(1871, QDate::currentDate().year());
    ui->CSpinEdit1->setFieldValue(2000);
    ui->Edit2->setTypingLimit(kTypingLimit);
    ui->ComboBox1->setCurrentIndex(-1);
    ui->ComboBox2->setCurrentIndex(-1);
    ui->Label2->setToolTip(QString());
    // The counter says what it counts.
    ui->Label3->setAccessibleName(QStringLiteral("Characters in the file name"));
    ui->Label3->setAccessibleDescription(ui->Label3->text());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    for (QWidget* w : findChildren<QWidget*>())
        if (w->accessibleName().isEmpty() && !w->toolTip().isEmpty())
            w->setAccessibleName(w->toolTip());
    layout_ = new HomeLayout(this, ui, [] { return rostrix::settingsPath(); });
    layout_->onLayoutKey = [this](int key) { FormKeyUp(key); };

    connectHandlers();
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
    settleHomeFolder({});
    delete ui;
}

void TForm1::connectHandlers() {
    connect(Timer1, &QTimer::timeout, this, guard([this] { Timer1Timer(); }));
    connect(ui->Button1, &QPushButton::clicked, this, guard([this] { Button1Click(); }));
    connect(ui->ChangePerlDirectory1, &QAction::triggered, this, guard([this] { Button1Click(); }));
    connect(ui->SpeedButton1, &QToolButton::clicked, this, guard([this] { SpeedButton1Click(); }));
    connect(ui->Button3, &QPushButton::clicked, this, guard([this] { Button3Click(); }));
    connect(ui->Button4, &QPushButton::clicked, this, guard([this] { Button4Click(); }));
    connect(ui->Teams1, &QAction::triggered, this, guard([this] { Button4Click(); }));
    connect(ui->Button2, &QPushButton::clicked, this, guard([this] { Button2Click(); }));
    connect(ui->Names1, &QAction::triggered, this, guard([this] { Button2Click(); }));
    connect(ui->Careers1, &QAction::triggered, this,
            guard([this] { openCareers(this, homeFolder()); }));
    connect(ui->Button12, &QPushButton::clicked, ui->Careers1, &QAction::trigger);
    connect(ui->Button5, &QPushButton::clicked, this, guard([this] { Button5Click(); }));
    connect(ui->About1, &QAction::triggered, this, guard([this] { Button5Click(); }));
    connect(ui->Button7, &QPushButton::clicked, this, guard([this] { Button7Click(); }));
    connect(ui->ClearOptions1, &QAction::triggered, this, guard([this] { Button7Click(); }));
    connect(ui->Button8, &QPushButton::clicked, this, guard([this] { Button8Click(); }));
    connect(ui->CreateTeamPack1, &QAction::triggered, this, guard([this] { Button8Click(); }));
    connect(ui->Button11, &QPushButton::clicked, this, guard([this] { Button11Click(); }));
    connect(ui->CreateSeason1, &QAction::triggered, this, guard([this] { Button11Click(); }));
    connect(ui->Button10, &QPushButton::clicked, this, guard([this] { Button10Click(); }));
    connect(ui->Exit1, &QAction::triggered, this, guard([this] { Exit1Click(); }));
    connect(ui->CSpinEdit1, &SpinEdit::fieldTextChanged, this,
            guard([this] { CSpinEdit1Change(); }));
    connect(ui->Edit1, &QLineEdit::textChanged, this, guard([this] { CSpinEdit1Change(); }));
    connect(ui->ComboBox1, &QComboBox::activated, this, guard([this] { CSpinEdit1Change(); }));
    connect(ui->CheckBox1, &QCheckBox::toggled, this, guard([this] { CheckBox1Click(); }));
    connect(ui->Edit2, &QLineEdit::textChanged, this, guard([this] { Edit2Change(); }));
    // Enter in the Team or File box runs Create Team.
    for (QLineEdit* box : {ui->Edit1, static_cast<QLineEdit*>(ui->Edit2)})
        connect(box, &QLineEdit::returnPressed, this, guard([this] { Button3Click(); }));
}

void TForm1::FormCreate() {
    const std::string h = currentDirectory();
    settleHomeFolder(h);
    ProfileFile ini(h + "/" + settings::kFileName);

    const std::string home = ini.read(settings::kDirectories, settings::kHome, "");
    HomeDirectory = home;
    if (home.empty() || home != h) {
        ini.writeNow(settings::kDirectories, settings::kHome, h);
        HomeDirectory = h;
    }
    showWrappedPath(ui->Label12, fileNameText(HomeDirectory));
    ui->Label12->setToolTip(fileNameText(HomeDirectory));
    HomePath = HomeDirectory;

    PerlDirectory = ini.read(settings::kDirectories, settings::kPerl, "");
    if (PerlDirectory.empty()) {
        ini.writeNow(settings::kDirectories, settings::kPerl, h);
        PerlDirectory = h;
    }
    showWrappedPath(ui->Label2, fileNameText(PerlDirectory));
    ui->Label2->setToolTip(fileNameText(PerlDirectory));

    DatabaseDirectory = ini.read(settings::kDirectories, settings::kDatabase, "");
    if (DatabaseDirectory.empty())
        Timer1->start();
    else
        Timer1->stop();

    AutoFileNameSetting = ini.read(settings::kSettings, settings::kAutoFileName, "No");
    ui->CheckBox1->setChecked(AutoFileNameSetting == "Yes");
    setFileDialogSetting(ini.read(settings::kSettings, settings::kFileDialog, ""));
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous()) return;
    if (!centred_) {
        centreOver(this, nullptr);
        centred_ = true;
    }
    guarded([this] { FormShow(); });
}

void TForm1::FormShow() {
    layout_->showSaved();
}

void TForm1::FormKeyUp(int key) {
    if (key == 113 || key == 114) layout_->switchTo(key == 113);
}

void TForm1::Button1Click() {
    if (auto chosen = dialogs().browseForFolder(this, QStringLiteral("Select Your Perl Folder:"))) {
        PerlDirectory = *chosen;
        showWrappedPath(ui->Label2, fileNameText(PerlDirectory));
    }
    ProfileFile ini(rostrix::settingsPath());
    ini.writeNow(settings::kDirectories, settings::kPerl, PerlDirectory);
}

void TForm1::SpeedButton1Click() {
    if (auto chosen =
            dialogs().browseForFolder(this, QStringLiteral("Select Your Database Folder:"))) {
        DatabaseDirectory = *chosen;
        Timer1->stop();
        ui->SpeedButton1->setAutoRaise(false);
    }
    ProfileFile ini(rostrix::settingsPath());
    ini.writeNow(settings::kDirectories, settings::kDatabase, DatabaseDirectory);
}

void TForm1::Timer1Timer() {
    ++FlashCount;
    ui->SpeedButton1->setAutoRaise(FlashCount % 2 == 0);
    QCoreApplication::processEvents();
}

void TForm1::Button3Click() {
    CreateTeamRequest request;
    request.home = homeFolder();
    request.perlDirectory = PerlDirectory;
    request.inputs.year = ui->CSpinEdit1->readValue();
    request.inputs.team = ui->Edit1->text().toStdString();
    request.inputs.league = ui->ComboBox1->currentText().toStdString();
    request.inputs.fileName = ui->Edit2->text().toStdString();
    request.inputs.type = ui->ComboBox2->currentText().toStdString();
    request.fileName = fileNameBytes(ui->Edit2->text());
    layout_->showRunSummary(QString());
    layout_->showRunSummary(fileNameText(createTeam(this, request)));
}

// Create Season: every club of the year, in the league chosen or in all of them.
void TForm1::Button11Click() {
    createSeason(this, {homeFolder(), PerlDirectory, ui->CSpinEdit1->readValue(),
                        ui->ComboBox1->currentText().toStdString(),
                        ui->ComboBox2->currentText().toStdString()});
}

void TForm1::Button4Click() {
    editTeam(this, homeFolder(), ui->Edit2->text());
}

// Names: the utility lists the home directory each time it opens.
void TForm1::Button2Click() {
    Form5->CurrentFolder = rostrix::homeFolder();
    centreOver(Form5, this);
    dialogs().showModal(Form5);
}

void TForm1::Button5Click() {
    centreOver(Form2, this);
    dialogs().showModal(Form2);
}

void TForm1::Button8Click() {
    centreOver(Form7, this);
    dialogs().showModal(Form7);
}

void TForm1::Button10Click() {
    centreOver(Form14, this);
    dialogs().showModal(Form14);
}

void TForm1::Button7Click() {
    layout_->showRunSummary(QString());
    ui->CSpinEdit1->setFieldValue(2000);
    ui->Edit1->setText(QString());
    ui->ComboBox1->setCurrentIndex(-1);
    ui->Edit2->setText(QString());
    ui->ComboBox2->setCurrentIndex(-1);
}

void TForm1::CSpinEdit1Change() {
    if (!ui->CheckBox1->isChecked()) return;
    const std::string year = std::to_string(ui->CSpinEdit1->readValue());
    const std::string name =
        autoFileName(ui->Edit2->text().toStdString(), year,
                     ui->ComboBox1->currentText().toStdString(), ui->Edit1->text().toStdString());
    ui->Edit2->setText(QString::fromStdString(name));
}

void TForm1::CheckBox1Click() {
    AutoFileNameSetting = ui->CheckBox1->isChecked() ? "Yes" : "No";
}

void TForm1::Edit2Change() {
    ui->Label3->setText(QString::number(ui->Edit2->text().size()));
    ui->Label3->setAccessibleDescription(ui->Label3->text());
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A settings file that cannot be written is reported, but never keeps the program
    // from closing.
    guarded([this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TForm1::FormClose() {
    ProfileFile ini(rostrix::settingsPath());
    ini.writeNow(settings::kSettings, settings::kAutoFileName, AutoFileNameSetting);
}
