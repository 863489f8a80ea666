// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/gui/OverwriteTyping.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>

namespace rostrix {

namespace {

bool printable(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

}  // namespace

OverwriteTyping::OverwriteTyping(QPlainTextEdit* pane) : QObject(pane), pane_(pane) {
    pane->installEventFilter(this);
}

bool OverwriteTyping::overwriting() const {
    return pane_->overwriteMode();
}

bool OverwriteTyping::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
        pane_->setOverwriteMode(!pane_->overwriteMode());
        emit modeChanged(pane_->overwriteMode());
        return true;
    }
    if (!pane_->overwriteMode() || pane_->isReadOnly()) return false;
    QTextCursor cursor = pane_->textCursor();
    const bool plain =
        (modifiers & ~(Qt::ShiftModifier | Qt::GroupSwitchModifier)) == Qt::NoModifier;
    if (plain && printable(key->text())) {
        typeOver(key->text());
        return true;
    }
    if (modifiers != Qt::NoModifier) return false;
    switch (key->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            cursor.beginEditBlock();
            if (!cursor.hasSelection()) {
                const bool back = key->key() == Qt::Key_Backspace;
                // At the start of a line Backspace only goes to the end of the one above;
                // at the end of a line Delete has nothing to blank.
                if (back ? cursor.atBlockStart() : cursor.atBlockEnd()) {
                    if (back) cursor.movePosition(QTextCursor::PreviousCharacter);
                    cursor.endEditBlock();
                    pane_->setTextCursor(cursor);
                    return true;
                }
                if (back) cursor.movePosition(QTextCursor::PreviousCharacter);
                cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            }
            blankOut(cursor);
            cursor.endEditBlock();
            pane_->setTextCursor(cursor);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!cursor.movePosition(QTextCursor::NextBlock)) {
                cursor.movePosition(QTextCursor::EndOfBlock);
                cursor.insertBlock();
            }
            pane_->setTextCursor(cursor);
            return true;
        default:
            return false;
    }
}

// Blanks stand in for the selected characters; line ends stay. The cursor ends at the
// selection's start.
void OverwriteTyping::blankOut(QTextCursor& cursor) {
    const int start = cursor.selectionStart();
    QString blanks = cursor.selectedText();
    for (QChar& c : blanks)
        if (c != QChar::ParagraphSeparator) c = QLatin1Char(' ');
    cursor.insertText(blanks);
    cursor.setPosition(start);
}

// Each typed character is one step of undo, its old character coming back with it.
void OverwriteTyping::typeOver(const QString& text) {
    QTextCursor cursor = pane_->textCursor();
    cursor.beginEditBlock();
    if (cursor.hasSelection()) blankOut(cursor);
    const int room = cursor.block().length() - 1 - cursor.positionInBlock();
    cursor.setPosition(cursor.position() + std::min(room, static_cast<int>(text.size())),
                       QTextCursor::KeepAnchor);
    cursor.insertText(text);
    cursor.endEditBlock();
    pane_->setTextCursor(cursor);
}

}  // namespace rostrix
