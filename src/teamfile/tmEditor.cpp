// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/tmEditor.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <filesystem>

#include "format/TeamLayout.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/gui/CommandKeys.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/GlobalForms.h"
#include "platform/gui/PaneText.h"
#include "platform/gui/WindowMemory.h"
#include "settings/HomeFolder.h"
#include "teamfile/ArchiveReport.h"
#include "teamfile/EditorShortcuts.h"
#include "teamfile/TeamArchive.h"
#include "teamfile/TeamFileCheck.h"
#include "teamfile/TeamFileRead.h"
#include "teamfile/gui/CursorPlaceLine.h"
#include "teamfile/gui/EditorViews.h"
#include "teamfile/gui/FieldTabs.h"
#include "teamfile/tmCheckPanel.h"
#include "teamfile/tmEditorEdit.h"
#include "teamfile/tmEditorFilter.h"
#include "teamfile/tmEditorSave.h"
#include "teamfile/tmPlyrArchive.h"
#include "ui_tmEditor.h"

using rostrix::dialogs;
using rostrix::Error;
using rostrix::formatText;
using rostrix::guard;
using rostrix::guarded;

namespace {

// Columns only line up in a fixed-pitch font.
QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    return font;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm4>()) {
    Q_INIT_RESOURCE(tmEditor);
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // Opens at its own size and grows: the pane takes what the tool bar leaves.
    setMinimumSize(795, 240);
    resize(795, 425);
    setSizeGripEnabled(true);
    rostrix::rememberPlace(this, "Editor");
    saving_ = std::make_unique<rostrix::EditorSaving>(this, Memo1(), CurrentFile, SaveDialog1);
    arrangeToolBar();

    Memo1()->setFont(fixedPitchFont());
    rostrix::moveByFields(Memo1());
    placeLine_ = new rostrix::CursorPlaceLine(Memo1(), this);
    rostrix::setPaneLines(Memo1(), rostrix::sampleTeamLines());
    Memo1()->setFocus();

    OpenDialog1 = {QStringLiteral("Open Team File"),
                   QStringLiteral("dat"),
                   QStringLiteral("QRD Team Files|*.dat|QRD Series Files|*.ser"),
                   {},
                   {},
                   true};
    SaveDialog1 = {QStringLiteral("Save Team File"),
                   QStringLiteral("dat"),
                   QStringLiteral("QRD Team Files|*.dat"),
                   {},
                   {},
                   false};
    ui->CSpinEdit1->setLimits(1, 1000);
    ui->CSpinEdit1->setFieldValue(1);

    connect(Memo1(), &QPlainTextEdit::textChanged, this, guard([this] { Memo1Change(); }));
    connect(ui->actionNewFile, &QAction::triggered, this, guard([this] { ToolButton2Click(); }));
    connect(ui->actionOpenFile, &QAction::triggered, this, guard([this] { ToolButton3Click(); }));
    connect(ui->actionSaveFile, &QAction::triggered, this, guard([this] { ToolButton4Click(); }));
    connect(ui->actionSaveFileAs, &QAction::triggered, this, guard([this] { ToolButton5Click(); }));
    connect(ui->actionApplyFilter, &QAction::triggered, this,
            guard([this] { ToolButton23Click(); }));
    connect(ui->actionTeamArchive, &QAction::triggered, this,
            guard([this] { ToolButton28Click(); }));
    connect(ui->actionPlayerArchive, &QAction::triggered, this,
            guard([this] { ToolButton29Click(); }));
    connect(ui->actionCheckFile, &QAction::triggered, this, guard([this] { CheckFileClick(); }));
    checkPanel_ = new rostrix::CheckPanel(Memo1());
    views_ = new rostrix::EditorViews(
        {this, Memo1(), ui->ToolBar1, placeLine_, checkPanel_, saving_.get()},
        {ui->EditUndo1, ui->EditCut1, ui->EditCopy1, ui->EditPaste1});
    // Enter in the threshold runs the filter.
    ui->CSpinEdit1->installEventFilter(this);
    rostrix::wireEditCommands(this, Memo1(),
                              {ui->EditUndo1, ui->EditCut1, ui->EditCopy1, ui->EditPaste1});
    setModifiedFlag(false);
    layOut();
    guarded([this] { FormCreate(); });
}

// The tool bar on top, the line telling the cursor's place at the foot, the pane (with the
// problem list when it is open) between them.
void TForm4::layOut() {
    const int bar = ui->ToolBar1->height();
    const int foot = placeLine_->sizeHint().height();
    ui->ToolBar1->setGeometry(0, 0, width(), bar);
    placeLine_->setGeometry(0, height() - foot, width(), foot);
    checkPanel_->setPaneHome(QRect(0, bar, width(), height() - bar - foot));
    views_->place();
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (checkPanel_) layOut();
}

TForm4::~TForm4() = default;

QPlainTextEdit* TForm4::Memo1() const {
    return ui->Memo1;
}

void TForm4::FormCreate() {
    ArchiveDirectory = rostrix::homeFolder();
}

// The filter's list and threshold sit between the edit commands and the filter button;
// each button gets the name and accessible name the rest of the program knows it by.
void TForm4::arrangeToolBar() {
    QToolBar* bar = ui->ToolBar1;
    // The list takes the width its longest kind needs; the labels keep clear of their fields.
    ui->CSpinEdit1->setFixedWidth(74);
    ui->Label1->setContentsMargins(6, 0, 4, 0);
    ui->Label2->setContentsMargins(6, 0, 4, 0);
    for (QWidget* w : {static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->ComboBox1),
                       static_cast<QWidget*>(ui->Label2), static_cast<QWidget*>(ui->CSpinEdit1)})
        bar->insertWidget(ui->actionApplyFilter, w);
    const std::pair<QAction*, const char*> buttons[] = {
        {ui->actionNewFile, "ToolButton2"},
        {ui->actionOpenFile, "ToolButton3"},
        {ui->actionSaveFile, "ToolButton4"},
        {ui->actionSaveFileAs, "ToolButton5"},
        {ui->EditUndo1, "ToolButton10"},
        {ui->EditCut1, "ToolButton7"},
        {ui->EditCopy1, "ToolButton8"},
        {ui->EditPaste1, "ToolButton9"},
        {ui->actionApplyFilter, "ToolButton23"},
        {ui->actionTeamArchive, "ToolButton28"},
        {ui->actionPlayerArchive, "ToolButton29"},
        {ui->actionCheckFile, "ToolButton30"},
    };
    for (const auto& [action, name] : buttons) {
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(action->toolTip());
        // Every command has a key, taught in its tool tip.
        if (const char* keys =
                rostrix::commandKeyOf(rostrix::kEditorCommandKeys, action->objectName()))
            rostrix::setCommandKey(action, QString::fromLatin1(keys));
    }
}

// Every change counts, undo included: a text undone back to the saved one still asks.
void TForm4::Memo1Change() {
    setModifiedFlag(true);
}

void TForm4::setModifiedFlag(bool modified) {
    Memo1()->document()->setModified(modified);
}

bool TForm4::FormCloseQuery() {
    return saving_->askToSave();
}

void TForm4::reject() {
    bool canClose = false;
    guarded([this, &canClose] { canClose = FormCloseQuery(); });
    if (canClose) QDialog::reject();
}

// The problem list belongs to the text it was made for: it goes with the window.
void TForm4::hideEvent(QHideEvent* event) {
    checkPanel_->closePanel();
    QDialog::hideEvent(event);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->CSpinEdit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { ToolButton23Click(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Check Team File: the text in the pane as it stands, saved or not.
void TForm4::CheckFileClick() {
    const std::vector<std::string> lines = rostrix::paneLines(Memo1());
    const auto found = rostrix::checkTeamFile(lines, rostrix::kListedProblems);
    if (found.total) return checkPanel_->showProblems(found.listed, found.total);
    checkPanel_->closePanel();
    dialogs().message(this, QString::fromLatin1(rostrix::kAppTitle),
                      QStringLiteral("The team file is sound: %1 lines checked.").arg(lines.size()),
                      rostrix::MsgIcon::None, rostrix::Ok);
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        checkPanel_->closePanel();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// New
void TForm4::ToolButton2Click() {
    if (!saving_->askToSave()) return;
    checkPanel_->closePanel();
    Memo1()->clear();
    saving_->belongsTo(rostrix::kUntitledTeamFile);
}

// Open
void TForm4::ToolButton3Click() {
    const auto chosen = dialogs().openFile(this, OpenDialog1);
    if (!chosen) return;
    if (!saving_->askToSave()) return;
    const std::string& path = *chosen;
    int why = 0;
    const auto lines = rostrix::readTeamFile(path, &why);
    if (!lines) throw Error(rostrix::teamFileOpenFailure(path, why));
    checkPanel_->closePanel();
    rostrix::setPaneLines(Memo1(), *lines);
    saving_->belongsTo(path);
}

// Save
void TForm4::ToolButton4Click() {
    saving_->save();
}

// Save As
void TForm4::ToolButton5Click() {
    saving_->saveAs();
}

// The roster filter.
void TForm4::ToolButton23Click() {
    rostrix::applyRosterFilter(this, Memo1(), ui->ComboBox1, ui->CSpinEdit1, placeLine_);
}

// Files the team in the pane under its path in archive.dat.
void TForm4::ToolButton28Click() {
    const std::vector<std::string> lines = rostrix::paneLines(Memo1());
    if (!rostrix::fileIntoArchive(this, CurrentFile, lines, "archive.dat")) return;
    const std::string archive = ArchiveDirectory + "/archive.dat";
    rostrix::writeTeamArchive(archive, CurrentFile, lines);
    const std::string done = rostrix::filedReport(archive, lines.empty() ? 0 : 1, "\n");
    dialogs().message(this, QString::fromLatin1(rostrix::kAppTitle), rostrix::fileNameText(done),
                      rostrix::MsgIcon::None, rostrix::Ok);
}

// Hands a copy of the pane's lines to the player stat archive window.
void TForm4::ToolButton29Click() {
    Form3->setTeamLines(rostrix::paneLines(Memo1()));
    Form3->TeamFile = CurrentFile;
    rostrix::centreOver(Form3, rostrix::theMainWindow());
    dialogs().showModal(Form3);
}
