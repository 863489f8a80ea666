// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/tmEditorEdit.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "platform/gui/Dialogs.h"

namespace rostrix {

namespace {

// The line edit being typed in, a spin box's own included.
QLineEdit* focusedLineEdit(QWidget* focus) {
    if (auto* line = qobject_cast<QLineEdit*>(focus)) return line;
    if (qobject_cast<QAbstractSpinBox*>(focus)) return focus->findChild<QLineEdit*>();
    return nullptr;
}

}  // namespace

void wireEditCommands(QWidget* window, QPlainTextEdit* pane, const EditActions& actions) {
    actions.undo->setEnabled(false);
    actions.cut->setEnabled(false);
    actions.copy->setEnabled(false);
    QObject::connect(pane, &QPlainTextEdit::undoAvailable, actions.undo, &QAction::setEnabled);
    QObject::connect(pane, &QPlainTextEdit::copyAvailable, actions.cut, &QAction::setEnabled);
    QObject::connect(pane, &QPlainTextEdit::copyAvailable, actions.copy, &QAction::setEnabled);
    const auto onFocused = [pane](auto inPane, auto inLine) {
        return [pane, inPane, inLine] {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus == pane || pane->isAncestorOf(focus))
                (pane->*inPane)();
            else if (QLineEdit* line = focusedLineEdit(focus))
                (line->*inLine)();
        };
    };
    QObject::connect(actions.undo, &QAction::triggered, window,
                     onFocused(&QPlainTextEdit::undo, &QLineEdit::undo));
    QObject::connect(actions.cut, &QAction::triggered, window,
                     onFocused(&QPlainTextEdit::cut, &QLineEdit::cut));
    QObject::connect(actions.copy, &QAction::triggered, window,
                     onFocused(&QPlainTextEdit::copy, &QLineEdit::copy));
    QObject::connect(actions.paste, &QAction::triggered, window,
                     onFocused(&QPlainTextEdit::paste, &QLineEdit::paste));
    QAction* paste = actions.paste;
    const auto updatePaste = [paste] {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        paste->setEnabled(data && data->hasText());
    };
    QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, window, updatePaste);
    updatePaste();
}

bool askWithLineInView(QWidget* window, QPlainTextEdit* pane, std::size_t line,
                       const QString& title, const QString& text) {
    const QTextCursor before = pane->textCursor();
    QTextCursor shown(pane->document()->findBlockByNumber(static_cast<int>(line)));
    shown.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    pane->setTextCursor(shown);
    pane->ensureCursorVisible();
    const int answer = dialogs().message(window, title, text, MsgIcon::Warning, Ok | Cancel);
    pane->setTextCursor(before);
    return answer == Ok;
}

}  // namespace rostrix
