// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/gui/EditorViews.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTableView>
#include <QTextBlock>
#include <QToolBar>

#include "platform/PathParts.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/CommandKeys.h"
#include "platform/gui/FileNames.h"
#include "teamfile/EditorShortcuts.h"
#include "teamfile/gui/OverwriteTyping.h"
#include "teamfile/gui/TeamTable.h"
#include "teamfile/gui/TeamTableModel.h"
#include "teamfile/tmCheckPanel.h"
#include "teamfile/tmEditorSave.h"

namespace rostrix {

namespace {

QString typingModeText(bool overwriting) {
    return overwriting ? QStringLiteral("OVR") : QStringLiteral("INS");
}

}  // namespace

EditorViews::EditorViews(const EditorParts& parts, const EditActions& actions)
    : QObject(parts.window),
      parts_(parts),
      table_(new TeamTable(parts.pane->document(), parts.window)),
      typing_(new OverwriteTyping(parts.pane)) {
    table_->hide();
    addButton();
    addStatusLine();
    wireViews();
    wireEditCommands(actions);
}

void EditorViews::addButton() {
    switch_ = new QAction(QIcon(QStringLiteral(":/teamfile/icons/table.png")),
                          QStringLiteral("Table View"), parts_.window);
    switch_->setObjectName(QStringLiteral("actionTableView"));
    switch_->setCheckable(true);
    parts_.toolBar->addSeparator();
    parts_.toolBar->addAction(switch_);
    QWidget* button = parts_.toolBar->widgetForAction(switch_);
    button->setObjectName(QStringLiteral("TableViewButton"));
    button->setAccessibleName(switch_->toolTip());
    setCommandKey(switch_,
                  QString::fromLatin1(commandKeyOf(kEditorCommandKeys, switch_->objectName())));
    connect(switch_, &QAction::toggled, this, &EditorViews::showTable);
}

void EditorViews::addStatusLine() {
    status_ = new QWidget(parts_.window);
    auto* row = new QHBoxLayout(status_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const std::pair<QLabel**, const char*> labels[] = {
        {&refusal_, "EditRefusal"}, {&saveState_, "SaveState"}, {&typingMode_, "TypingMode"}};
    for (const auto& [label, name] : labels) {
        *label = new QLabel(status_);
        (*label)->setObjectName(QString::fromLatin1(name));
        (*label)->setContentsMargins(8, 1, 4, 1);
        markAsStatus(*label);
        row->addWidget(*label);
    }
    typingMode_->setText(typingModeText(false));
    typingMode_->setToolTip(
        QStringLiteral("Insert switches between inserting (INS) and overwriting (OVR)"));
    QTextDocument* document = parts_.pane->document();
    connect(typing_, &OverwriteTyping::modeChanged, this,
            [this](bool over) { say(typingMode_, typingModeText(over)); });
    connect(document, &QTextDocument::modificationChanged, this, [this](bool changed) {
        say(saveState_, changed ? QStringLiteral("Modified") : QString());
    });
    // A refusal holds until the text changes.
    connect(document, &QTextDocument::contentsChanged, this, [this] {
        if (!refusal_->text().isEmpty()) say(refusal_, {});
    });
    connect(table_, &TeamTable::refused, this,
            [this](const QString& why) { say(refusal_, QStringLiteral("Refused: ") + why); });
    parts_.saving->saved = [this](const std::string& path) {
        say(saveState_, QStringLiteral("Saved ") + fileNameText(fileNamePart(path)));
    };
}

void EditorViews::say(QLabel* label, const QString& text) {
    label->setText(text);
    place();
}

void EditorViews::wireViews() {
    QPlainTextEdit* pane = parts_.pane;
    CheckPanel* panel = parts_.checkPanel;
    const auto problemKey = [this, panel](const char* keys, void (CheckPanel::*step)()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), parts_.window);
        connect(shortcut, &QShortcut::activated, panel, step);
    };
    problemKey(kNextProblemKey, &CheckPanel::next);
    problemKey(kPreviousProblemKey, &CheckPanel::previous);
    connect(panel, &CheckPanel::problemsChanged, this, [this, panel] {
        table_->setProblems(panel->problems(), panel->problemLines());
        place();
    });
    connect(panel, &CheckPanel::wentToProblem, this, &EditorViews::problemChosen);
    connect(pane, &QPlainTextEdit::cursorPositionChanged, this, &EditorViews::paneCursorMoved);
    connect(table_, &TeamTable::placeChanged, this, [this, pane](int line, int column) {
        if (following_ || !tableShown_) return;
        following_ = true;
        const QTextBlock block = pane->document()->findBlockByNumber(line);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + std::min(column - 1, block.length() - 1));
        pane->setTextCursor(cursor);
        following_ = false;
    });
    // Whatever gives the hidden pane the focus gives it to the table.
    connect(qApp, &QApplication::focusChanged, this, [this, pane](QWidget*, QWidget* now) {
        if (tableShown_ && now == pane) table_->view()->setFocus();
    });
}

// The table's current cell follows the pane's cursor: a whole line selected is its row.
void EditorViews::paneCursorMoved() {
    if (!tableShown_ || following_) return;
    following_ = true;
    const QTextCursor c = parts_.pane->textCursor();
    const QTextBlock block = c.block();
    const bool wholeLine = c.hasSelection() && c.selectionStart() == block.position() &&
                           c.selectionEnd() == block.position() + block.length() - 1;
    table_->showPlace(block.blockNumber(), c.positionInBlock() + 1, wholeLine);
    following_ = false;
}

// A problem the table shows goes to its cell; one on a line no row shows (the title and
// section lines) can only be seen and mended in the text.
void EditorViews::problemChosen() {
    if (!tableShown_) return;
    const QTextCursor c = parts_.pane->textCursor();
    const int line = c.blockNumber();
    if (line == 0 && table_->focusTitleField(c.positionInBlock() + 1)) return;
    if (line == 0 || table_->model()->rowOf(line) < 0) return showTable(false);
    table_->view()->setFocus();
}

void EditorViews::showTable(bool table) {
    if (table == tableShown_) return;
    tableShown_ = table;
    switch_->setChecked(table);
    QPlainTextEdit* pane = parts_.pane;
    if (table) {
        place();
        table_->show();
        table_->raise();
        paneCursorMoved();
        // From a line no row shows, the keyboard starts at the first player's name.
        if (!table_->view()->currentIndex().isValid())
            table_->showPlace(table_->model()->lineOf(0), field::kName.first, false);
        table_->view()->setFocus();
        pane->hide();
    } else {
        pane->show();
        pane->setFocus();
        table_->hide();
        pane->ensureCursorVisible();
    }
    typingMode_->setVisible(!table);
    place();
}

void EditorViews::place() {
    const QRect line = parts_.placeLine->geometry();
    const int width = parts_.window->width();
    const int room = status_->sizeHint().width();
    parts_.placeLine->setGeometry(0, line.y(), width - room, line.height());
    status_->setGeometry(width - room, line.y(), room, line.height());
    if (tableShown_) table_->setGeometry(parts_.checkPanel->paneRoom());
}

// In the table the edit commands act on its document and its current cell; in a title
// field with nothing typed yet, Undo takes back the document's last change.
void EditorViews::editInTable(void (TeamTable::*act)(), bool fromTitle) {
    QWidget* focus = QApplication::focusWidget();
    auto* title = qobject_cast<QLineEdit*>(focus);
    const bool titleField = title && title->parentWidget() == table_ && !title->isModified();
    if (focus == table_->view() || (fromTitle && titleField)) (table_->*act)();
}

void EditorViews::wireEditCommands(const EditActions& actions) {
    QTableView* view = table_->view();
    connect(actions.undo, &QAction::triggered, this,
            [this] { editInTable(&TeamTable::undo, true); });
    connect(actions.cut, &QAction::triggered, this,
            [this] { editInTable(&TeamTable::cut, false); });
    connect(actions.copy, &QAction::triggered, this,
            [this] { editInTable(&TeamTable::copy, false); });
    connect(actions.paste, &QAction::triggered, this,
            [this] { editInTable(&TeamTable::paste, false); });
    // A cell can always be copied; the pane's selection decides again once it is left.
    connect(qApp, &QApplication::focusChanged, this,
            [this, view, actions](QWidget* old, QWidget* now) {
                if (now != view && old != view) return;
                const bool can = now == view || parts_.pane->textCursor().hasSelection();
                actions.cut->setEnabled(can);
                actions.copy->setEnabled(can);
            });
}

}  // namespace rostrix
