#include "teamfile/tmEditor.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <filesystem>

#include "app/Forms.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/PaneText.h"
#include "shell/HomeFolder.h"
#include "platform/gui/SaveName.h"
#include "shell/tmHome.h"
#include "teamfile/RosterFilter.h"
#include "teamfile/TeamArchive.h"
#include "teamfile/TeamFile.h"
#include "teamfile/tmPlyrArchive.h"
#include "ui_tmEditor.h"

using rostrix::dialogs;
using rostrix::Error;
using rostrix::formatText;
using rostrix::guard;
using rostrix::guarded;

namespace {

const std::string kUntitled = "Untitled.dat";
const QString kWarningTitle = QStringLiteral("Run QRD Warning");

std::string fileNamePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderPart(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

QString captionFor(const std::string& fileName) {
    return QStringLiteral("Rostrix - ") + rostrix::fileNameText(fileName);
}

// Columns only line up in a fixed-pitch font.
QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    return font;
}

// The line edit being typed in, a spin box's own included.
QLineEdit* focusedLineEdit(QWidget* focus) {
    if (auto* line = qobject_cast<QLineEdit*>(focus)) return line;
    if (qobject_cast<QAbstractSpinBox*>(focus)) return focus->findChild<QLineEdit*>();
    return nullptr;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm4>()) {
    Q_INIT_RESOURCE(tmEditor);
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(795, 425);
    arrangeToolBar();

    Memo1()->setFont(fixedPitchFont());
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
    connectEditActions();
    setModifiedFlag(false);
    guarded([this] { FormCreate(); });
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
    };
    for (const auto& [action, name] : buttons) {
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(action->toolTip());
        // The tool tip teaches the key as well.
        if (!action->shortcut().isEmpty())
            action->setToolTip(QStringLiteral("%1 (%2)").arg(
                action->toolTip(), action->shortcut().toString(QKeySequence::NativeText)));
    }
}

// The edit commands work on the pane and are only offered when they would do something.
void TForm4::connectEditActions() {
    QPlainTextEdit* pane = Memo1();
    ui->EditUndo1->setEnabled(false);
    ui->EditCut1->setEnabled(false);
    ui->EditCopy1->setEnabled(false);
    connect(pane, &QPlainTextEdit::undoAvailable, ui->EditUndo1, &QAction::setEnabled);
    connect(pane, &QPlainTextEdit::copyAvailable, ui->EditCut1, &QAction::setEnabled);
    connect(pane, &QPlainTextEdit::copyAvailable, ui->EditCopy1, &QAction::setEnabled);
    // Each command goes to the focused text control: the pane, or the threshold field while
    // it is being typed in; with the focus on the filter list it does nothing.
    const auto onFocused = [this](auto inPane, auto inLine) {
        return [this, inPane, inLine] {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus == Memo1() || Memo1()->isAncestorOf(focus))
                (Memo1()->*inPane)();
            else if (QLineEdit* line = focusedLineEdit(focus))
                (line->*inLine)();
        };
    };
    connect(ui->EditUndo1, &QAction::triggered, this,
            onFocused(&QPlainTextEdit::undo, &QLineEdit::undo));
    connect(ui->EditCut1, &QAction::triggered, this,
            onFocused(&QPlainTextEdit::cut, &QLineEdit::cut));
    connect(ui->EditCopy1, &QAction::triggered, this,
            onFocused(&QPlainTextEdit::copy, &QLineEdit::copy));
    connect(ui->EditPaste1, &QAction::triggered, this,
            onFocused(&QPlainTextEdit::paste, &QLineEdit::paste));
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { updatePasteAction(); });
    updatePasteAction();
}

void TForm4::updatePasteAction() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ui->EditPaste1->setEnabled(data && data->hasText());
}

// Every change counts, undo included: a text undone back to the saved one still asks.
void TForm4::Memo1Change() {
    setModifiedFlag(true);
}

void TForm4::setModifiedFlag(bool modified) {
    Memo1()->document()->setModified(modified);
}

// False when the text holds a character a team file cannot hold and the user chose not
// to save it with "?" in its place: then nothing is written.
bool TForm4::writePane(const std::string& path) {
    if (const auto odd = rostrix::firstUnsavableCharacter(Memo1())) {
        const QString code =
            QString::number(odd->character.toUcs4().value(0), 16).toUpper().rightJustified(4, '0');
        const QString text = QStringLiteral(
                                 "Line %1 holds %2 (U+%3), a character a team file cannot hold.\n"
                                 "Save with \"?\" in place of every such character?")
                                 .arg(QString::number(odd->line), odd->character, code);
        if (dialogs().message(this, QString::fromLatin1(rostrix::kAppTitle), text,
                              rostrix::MsgIcon::Question,
                              rostrix::Yes | rostrix::No) != rostrix::Yes)
            return false;
    }
    if (!rostrix::writeLinesAtomic(path, rostrix::paneLines(Memo1())))
        throw Error(formatText("Cannot create file %s", path));
    return true;
}

// False when the user cancels. Yes writes a text that has a file at once and leaves the
// modified flag to the caller; a text never saved asks for its name first, and
// dismissing that dialog counts as Cancel.
bool TForm4::askToSave() {
    if (!Memo1()->document()->isModified()) return true;
    const QString text = rostrix::fileNameText(fileNamePart(CurrentFile)) +
                         QStringLiteral(" has changed.  Save Changes?");
    const int answer = dialogs().message(this, kWarningTitle, text, rostrix::MsgIcon::Warning,
                                         rostrix::Yes | rostrix::No | rostrix::Cancel);
    if (answer == rostrix::Cancel) return false;
    if (answer != rostrix::Yes) return true;
    if (CurrentFile == kUntitled) return saveAs();
    // Declining to save a character the file cannot hold keeps the text, like Cancel.
    return writePane(CurrentFile);
}

// The save dialog, until the user picks a name that is free, is the text's own file, or
// may be replaced. Nothing when the dialog is dismissed.
std::optional<std::string> TForm4::chooseSaveName() {
    SaveDialog1.fileName = rostrix::fileNameText(CurrentFile);
    SaveDialog1.initialDir = rostrix::fileNameText(folderPart(CurrentFile));
    return rostrix::chooseSaveName(this, SaveDialog1,
                                   CurrentFile == kUntitled ? std::string() : CurrentFile);
}

bool TForm4::FormCloseQuery() {
    return askToSave();
}

void TForm4::reject() {
    bool canClose = false;
    guarded([this, &canClose] { canClose = FormCloseQuery(); });
    if (canClose) QDialog::reject();
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// New
void TForm4::ToolButton2Click() {
    if (!askToSave()) return;
    Memo1()->clear();
    CurrentFile = kUntitled;
    setWindowTitle(captionFor(CurrentFile));
    setModifiedFlag(false);
}

// Open
void TForm4::ToolButton3Click() {
    const auto chosen = dialogs().openFile(this, OpenDialog1);
    if (!chosen) return;
    if (!askToSave()) return;
    const std::string path = rostrix::chosenPathBytes(*chosen);
    const auto lines = rostrix::readLines(path);
    if (!lines) throw Error(formatText("Cannot open file %s", path));
    rostrix::setPaneLines(Memo1(), *lines);
    CurrentFile = path;
    setWindowTitle(captionFor(fileNamePart(path)));
    setModifiedFlag(false);
}

// Save
void TForm4::ToolButton4Click() {
    if (CurrentFile == kUntitled) {
        ToolButton5Click();
        return;
    }
    if (writePane(CurrentFile)) setModifiedFlag(false);
}

// Save As
void TForm4::ToolButton5Click() {
    saveAs();
}

// False when the dialog was dismissed.
bool TForm4::saveAs() {
    const auto chosen = chooseSaveName();
    if (!chosen) return false;
    const std::string& path = *chosen;
    if (!writePane(path)) return false;
    CurrentFile = path;
    setWindowTitle(captionFor(fileNamePart(path)));
    setModifiedFlag(false);
    return true;
}

// The roster filter. The pane changes only when the whole run succeeds, and then in one
// step that a single undo takes back.
void TForm4::ToolButton23Click() {
    const auto kind = rostrix::filterKindAt(ui->ComboBox1->currentIndex());
    if (!kind) return;  // no kind chosen: nothing is read, nothing changes
    const int threshold = ui->CSpinEdit1->readValue();
    const auto kept =
        rostrix::runRosterFilter(rostrix::paneLines(Memo1()), kind, threshold,
                                 [this](std::size_t line) { return askAboutStarter(line); });
    if (kept) rostrix::replacePaneLines(Memo1(), *kept);
}

// The starter's line is selected and in view while the question is asked, so the user
// sees whom he is about to lose; the cursor goes back where it was afterwards.
bool TForm4::askAboutStarter(std::size_t line) {
    QPlainTextEdit* pane = Memo1();
    const QTextCursor before = pane->textCursor();
    QTextCursor starter(pane->document()->findBlockByNumber(static_cast<int>(line)));
    starter.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    pane->setTextCursor(starter);
    pane->ensureCursorVisible();
    const int answer = dialogs().message(
        this, kWarningTitle, QStringLiteral("This will remove a starter!\nClick OK to remove."),
        rostrix::MsgIcon::Warning, rostrix::Ok | rostrix::Cancel);
    pane->setTextCursor(before);
    return answer == rostrix::Ok;
}

// Files the team in the pane under its path in archive.dat.
void TForm4::ToolButton28Click() {
    rostrix::writeTeamArchive(ArchiveDirectory + "/archive.dat", CurrentFile,
                              rostrix::paneLines(Memo1()));
    dialogs().message(this, QString::fromLatin1(rostrix::kAppTitle), QStringLiteral("Done!"),
                      rostrix::MsgIcon::None, rostrix::Ok);
}

// Hands a copy of the pane's lines to the player stat archive window.
void TForm4::ToolButton29Click() {
    Form3->setTeamLines(rostrix::paneLines(Memo1()));
    rostrix::centreOver(Form3, Form1);
    dialogs().showModal(Form3);
}
