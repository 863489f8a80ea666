// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace rostrix {

// A one-line edit whose length limit applies to typing and pasting only: the program
// may set a longer text (a generated file name is never cut), and the user can still
// delete from it. QLineEdit's own maxLength would truncate programmatic texts too.
class LimitedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LimitedLineEdit(QWidget* parent = nullptr);
    void setTypingLimit(int limit) { limit_ = limit; }
    int typingLimit() const { return limit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // How many characters may be inserted in place of the selection.
    int room() const;
    void pasteLimited();

    int limit_ = 32767;
};

}  // namespace rostrix
