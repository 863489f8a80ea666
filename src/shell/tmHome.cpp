#include "shell/tmHome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <filesystem>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmZip.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/ProfileFile.h"
#include "platform/gui/CompactPath.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/InputBlock.h"
#include "platform/gui/PaneText.h"
#include "shell/HomeFolder.h"
#include "shell/SettingsKeys.h"
#include "shell/TeamCommand.h"
#include "shell/tmPlayoffs.h"
#include "teamfile/tmCareers.h"
#include "teamfile/tmEditor.h"
#include "ui_tmHome.h"
#include "update/UpdateSite.h"
#include "update/tmAbout.h"

using namespace rostrix;

namespace {

constexpr int kClientWidth = 266;
constexpr int kLaidOutHeight = 363;
constexpr int kLayoutHeight = 379;
constexpr int kTypingLimit = 8;

std::string currentDirectory() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

// A folder label has two word-wrapped lines: a longer path gives up its leading folders
// rather than its end.
void showFolder(QLabel* label, const QString& path) {
    const int width = label->contentsRect().width();
    const QFont font = label->font();
    label->setText(compactPath(
        path, [&](const QString& text) { return fitsWrappedLines(text, font, width, 2); }));
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

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    keyControls_ = {ui->Button1,   ui->Edit1,   ui->ComboBox1, ui->Edit2,
                    ui->CheckBox1, ui->Button3, ui->Button4,   ui->Button5,
                    ui->Button7,   ui->Button2, ui->Button8};
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->accessibleName().isEmpty() && !w->toolTip().isEmpty())
            w->setAccessibleName(w->toolTip());

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
    // Careers: the window itself holds the action too, so Ctrl+R works with the menus hidden.
    addAction(ui->Careers1);
    connect(ui->Careers1, &QAction::triggered, this, guard([this] { openCareers(this, homeFolder()); }));
    connect(ui->Button5, &QPushButton::clicked, this, guard([this] { Button5Click(); }));
    connect(ui->About1, &QAction::triggered, this, guard([this] { Button5Click(); }));
    connect(ui->Button7, &QPushButton::clicked, this, guard([this] { Button7Click(); }));
    connect(ui->ClearOptions1, &QAction::triggered, this, guard([this] { Button7Click(); }));
    connect(ui->Button8, &QPushButton::clicked, this, guard([this] { Button8Click(); }));
    connect(ui->CreateTeamPack1, &QAction::triggered, this, guard([this] { Button8Click(); }));
    connect(ui->Button10, &QPushButton::clicked, this, guard([this] { Button10Click(); }));
    connect(ui->Exit1, &QAction::triggered, this, guard([this] { Exit1Click(); }));
    connect(ui->CSpinEdit1, &SpinEdit::fieldTextChanged, this,
            guard([this] { CSpinEdit1Change(); }));
    connect(ui->Edit1, &QLineEdit::textChanged, this, guard([this] { CSpinEdit1Change(); }));
    connect(ui->ComboBox1, &QComboBox::activated, this, guard([this] { CSpinEdit1Change(); }));
    connect(ui->CheckBox1, &QCheckBox::toggled, this, guard([this] { CheckBox1Click(); }));
    connect(ui->Edit2, &QLineEdit::textChanged, this, guard([this] { Edit2Change(); }));
}

std::string TForm1::settingsPath() const {
    return rostrix::homeFolder() + "/" + settings::kFileName;
}

std::string TForm1::updateSite() {
    const ProfileFile ini(settingsPath());
    const std::string value = ini.read(settings::kUpdate, settings::kSite, "");
    if (value.empty()) return kSiteBase;
    if (auto site = siteFromSetting(value)) return *site;
    if (!siteReported_) {
        siteReported_ = true;
        dialogs().message(
            this, QString::fromLatin1(kAppTitle),
            QStringLiteral("The update site \"%1\" in %2 is not an address like "
                           "http://host[:port]/folder or https://host[:port]/folder.\nThe built-in "
                           "site %3 is used instead.")
                .arg(QString::fromLatin1(value), fileNameText(settingsPath()),
                     QString::fromLatin1(kSiteBase)),
            MsgIcon::None, Ok);
    }
    return kSiteBase;
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
    showFolder(ui->Label12, fileNameText(HomeDirectory));
    ui->Label12->setToolTip(fileNameText(HomeDirectory));
    HomePath = HomeDirectory;

    PerlDirectory = ini.read(settings::kDirectories, settings::kPerl, "");
    if (PerlDirectory.empty()) {
        ini.writeNow(settings::kDirectories, settings::kPerl, h);
        PerlDirectory = h;
    }
    showFolder(ui->Label2, fileNameText(PerlDirectory));
    ui->Label2->setToolTip(fileNameText(PerlDirectory));

    DatabaseDirectory = ini.read(settings::kDirectories, settings::kDatabase, "");
    if (DatabaseDirectory.empty())
        Timer1->start();
    else
        Timer1->stop();

    AutoFileNameSetting = ini.read(settings::kSettings, settings::kAutoFileName, "No");
    ui->CheckBox1->setChecked(AutoFileNameSetting == "Yes");
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
    const ProfileFile ini(settingsPath());
    const std::string value = ini.read(settings::kSettings, settings::kShowMenus, "true");
    if (value == "false") applyButtonLayout(true);
    if (value == "true") applyMenuLayout(true);
}

void TForm1::setCommandVisibility(bool buttons) {
    for (QWidget* b : {static_cast<QWidget*>(ui->Button1), static_cast<QWidget*>(ui->Button4),
                       static_cast<QWidget*>(ui->Button7), static_cast<QWidget*>(ui->Button2),
                       static_cast<QWidget*>(ui->Button8), static_cast<QWidget*>(ui->Button5)})
        b->setVisible(buttons);
    for (QMenu* m : {ui->File1, ui->EditMenu1, ui->Setup1}) m->menuAction()->setVisible(!buttons);
    ui->About1->setVisible(!buttons);
    // With every top-level item hidden, the empty bar would only take room.
    ui->MainMenu1->setVisible(!buttons);
}

void TForm1::setClientHeight(int height) {
    ui->ClientArea->setFixedSize(kClientWidth, height);
}

void TForm1::applyButtonLayout(bool withHeight) {
    setCommandVisibility(true);
    if (withHeight) setClientHeight(kLayoutHeight);
}

void TForm1::applyMenuLayout(bool withHeight) {
    setCommandVisibility(false);
    if (withHeight) setClientHeight(kLayoutHeight);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease) return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F2 && key->key() != Qt::Key_F3) return false;
    // Only the window and the listed controls act on F2/F3; in any other control (the
    // year field, the type list) the key stops there instead of reaching the window.
    if (watched != this && !keyControls_.contains(static_cast<QWidget*>(watched))) return true;
    if (!key->isAutoRepeat())
        guarded([this, k = key->key()] { FormKeyUp(k == Qt::Key_F2 ? 113 : 114); });
    return true;
}

void TForm1::FormKeyUp(int key) {
    if (key != 113 && key != 114) return;
    const bool buttons = key == 113;
    if (buttons)
        applyButtonLayout(false);
    else
        applyMenuLayout(false);
    ProfileFile ini(settingsPath());
    ini.writeNow(settings::kSettings, settings::kShowMenus, buttons ? "false" : "true");
    setClientHeight(kLayoutHeight);
}

void TForm1::Button1Click() {
    if (auto chosen = dialogs().browseForFolder(this, QStringLiteral("Select Your Perl Folder:"))) {
        PerlDirectory = chosenPathBytes(*chosen);
        showFolder(ui->Label2, *chosen);
    }
    ProfileFile ini(settingsPath());
    ini.writeNow(settings::kDirectories, settings::kPerl, PerlDirectory);
}

void TForm1::SpeedButton1Click() {
    if (auto chosen =
            dialogs().browseForFolder(this, QStringLiteral("Select Your Database Folder:"))) {
        DatabaseDirectory = chosenPathBytes(*chosen);
        Timer1->stop();
        ui->SpeedButton1->setAutoRaise(false);
    }
    ProfileFile ini(settingsPath());
    ini.writeNow(settings::kDirectories, settings::kDatabase, DatabaseDirectory);
}

void TForm1::Timer1Timer() {
    ++FlashCount;
    ui->SpeedButton1->setAutoRaise(FlashCount % 2 == 0);
    QCoreApplication::processEvents();
}

void TForm1::Button3Click() {
    if (running_) return;  // one run at a time, however the command is reached
    const std::string home = rostrix::homeFolder();
    std::error_code ec;
    std::filesystem::current_path(home, ec);

    // Without a script of the user's own, the builder shipped with the program does the work.
    const std::vector<std::string> bundled =
        bundledTeamBuilderFolders(fileNameBytes(QCoreApplication::applicationDirPath()));
    const std::optional<std::string> scriptFolder = teamScriptFolder(PerlDirectory, bundled);
    if (!scriptFolder) {
        dialogs().message(this, QString::fromLatin1(kAppTitle),
                          fileNameText(noTeamScriptMessage(PerlDirectory, bundled)),
                          MsgIcon::Warning, Ok);
        return;
    }

    TeamInputs in;
    in.perlDirectory = *scriptFolder;
    in.year = ui->CSpinEdit1->readValue();
    in.team = ui->Edit1->text().toStdString();
    in.league = ui->ComboBox1->currentText().toStdString();
    in.fileName = ui->Edit2->text().toStdString();
    in.type = ui->ComboBox2->currentText().toStdString();
    const std::string command = composeTeamCommand(in);

    const std::string teamFile = home + "/" + fileNameBytes(ui->Edit2->text()) + ".dat";
    const std::string errlog = home + "/errlog.txt";
    const FileStamp before = fileStamp(teamFile);
    CommandOutcome outcome;
    {
        // No window takes input while the script runs (a second click would start a second
        // run on the same team file), but they all keep repainting.
        running_ = true;
        const struct Done {
            bool& running;
            ~Done() { running = false; }
        } done{running_};
        const InputBlock block;
        outcome = runTeamCommand(command, home, errlog, &InputBlock::pump);
    }
    const std::string problem =
        teamRunProblem(outcome, before, fileStamp(teamFile), teamFile, errlog);
    if (problem.empty()) return;
    dialogs().message(this, QString::fromLatin1(kAppTitle), fileNameText(problem), MsgIcon::None,
                      Ok);
}

void TForm1::Button4Click() {
    const std::string home = rostrix::homeFolder();
    std::error_code ec;
    std::filesystem::current_path(home, ec);

    // A missing or unreadable team file gives an empty, untitled editor: no message.
    QPlainTextEdit* pane = Form4->Memo1();
    pane->clear();
    const QString name = ui->Edit2->text();
    std::optional<std::vector<std::string>> lines;
    std::string path;
    if (!name.isEmpty()) {
        path = home + "/" + fileNameBytes(name) + ".dat";
        lines = readLines(path);
    }
    if (lines) {
        setPaneLines(pane, *lines);
        Form4->CurrentFile = path;
        Form4->setWindowTitle(QStringLiteral("Rostrix - ") + name + QStringLiteral(".dat"));
    } else {
        Form4->CurrentFile = "Untitled.dat";
        Form4->setWindowTitle(QStringLiteral("Rostrix - Untitled.dat"));
    }
    centreOver(Form4, this);
    pane->document()->setModified(false);
    Form4->OpenDialog1.initialDir = fileNameText(home);
    Form4->SaveDialog1.initialDir = fileNameText(home);
    dialogs().showModal(Form4);
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
    ProfileFile ini(settingsPath());
    ini.writeNow(settings::kSettings, settings::kAutoFileName, AutoFileNameSetting);
}
