// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include "teamfile/tmEditorEdit.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QToolBar;
class QWidget;

namespace rostrix {

class CheckPanel;
class EditorSaving;
class OverwriteTyping;
class TeamTable;

// The parts of the team file editor its views share.
struct EditorParts {
    QWidget* window;
    QPlainTextEdit* pane;
    QToolBar* toolBar;
    QLabel* placeLine;  // the line under the pane telling the cursor's place
    CheckPanel* checkPanel;
    EditorSaving* saving;
};

// The editor's two views of one document: the text pane and the table. A tool bar button
// (F6) switches between them; the pane's document stays the only copy of the team, so every
// command of the window acts on it from either view. The views follow each other's place:
// the table's current cell is the pane's cursor. The status line beside the cursor's place
// says whether the text is saved ("Modified", "Saved <file>"), why a value was refused,
// and in the text view whether typing inserts or overwrites ("INS", "OVR"; Insert
// switches). F8 and Shift+F8 go to the next and previous problem of a check, in the table
// to its cell.
class EditorViews : public QObject {
    Q_OBJECT
public:
    EditorViews(const EditorParts& parts, const EditActions& actions);

    // Places the status line and the table in the room the window gave the pane and the
    // line under it; called after the window has laid out its own controls.
    void place();
    bool tableShown() const { return tableShown_; }
    void showTable(bool table);

private:
    void addButton();
    void addStatusLine();
    void wireViews();
    void wireEditCommands(const EditActions& actions);
    void editInTable(void (TeamTable::*act)(), bool fromTitle);
    void paneCursorMoved();
    void problemChosen();
    void say(QLabel* label, const QString& text);

    EditorParts parts_;
    TeamTable* table_;
    OverwriteTyping* typing_;
    QAction* switch_ = nullptr;
    QWidget* status_ = nullptr;
    QLabel* refusal_ = nullptr;
    QLabel* saveState_ = nullptr;
    QLabel* typingMode_ = nullptr;
    bool tableShown_ = false;
    bool following_ = false;  // one view is taking up the other's place
};

}  // namespace rostrix
