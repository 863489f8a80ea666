// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QPlainTextEdit;
class QTextCursor;

namespace rostrix {

// Insert switches a team file pane between inserting and overwriting. Overwriting keeps
// every column where it is: a typed character takes the place of the one under the cursor
// (past the end of the line it is added), Backspace and Delete put blanks in place of
// characters, typing over a selection blanks it first, and Enter goes to the start of the
// next line instead of breaking this one.
class OverwriteTyping : public QObject {
    Q_OBJECT
public:
    explicit OverwriteTyping(QPlainTextEdit* pane);
    bool overwriting() const;

signals:
    void modeChanged(bool overwriting);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void typeOver(const QString& text);
    void blankOut(QTextCursor& cursor);

    QPlainTextEdit* pane_;
};

}  // namespace rostrix
