// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFrame>
#include <QRect>
#include <QTextCursor>
#include <vector>

#include "teamfile/TeamFileCheck.h"

class QListWidget;
class QPlainTextEdit;
class QToolButton;

namespace rostrix {

class ProblemMarkers;

// What a check marks has this background; shows in a light and a high-contrast theme alike,
// as the text on it is drawn black.
inline const QColor kMarkedBackground(255, 236, 140);

// The problems a team file check found, docked under the editor's text pane, one row
// each ("line 4, column 60: bats must be L or R"). Activating a row (Enter, double click)
// selects the field at fault in the pane; next() and previous() step through the rows,
// wrapping round. While the panel is open each line at fault has a marked background and
// a marker in a strip left of the pane. Esc or the close box closes it.
class CheckPanel : public QFrame {
    Q_OBJECT
public:
    // Docks under pane, which shares the panel's parent and gives up room while it is open.
    explicit CheckPanel(QPlainTextEdit* pane);

    // Opens the panel (or refreshes it) with these problems of the pane's current text; when
    // total is larger, a last row says how many more there are.
    void showProblems(const std::vector<TeamFileProblem>& problems, std::size_t total = 0);
    void closePanel();
    // The room the pane has while the panel is closed, given again when the window resizes.
    void setPaneHome(const QRect& home);
    void next();
    void previous();
    int rowCount() const;
    int currentRow() const;
    // The problems listed and their lines, which follow the text as it is edited.
    const std::vector<TeamFileProblem>& problems() const { return problems_; }
    const std::vector<QTextCursor>& problemLines() const { return lineStarts_; }
    // The room the pane and its markers have now.
    QRect paneRoom() const;

signals:
    // The list was opened, refreshed or closed.
    void problemsChanged();
    // The pane's cursor went to a problem.
    void wentToProblem();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void goTo(int row);
    void markLines();
    void place();

    QPlainTextEdit* pane_;
    QRect paneHome_;  // the pane's geometry while the panel is closed
    QListWidget* list_;
    QToolButton* close_;
    ProblemMarkers* markers_;
    std::vector<TeamFileProblem> problems_;
    std::vector<QTextCursor> lineStarts_;  // follow the text as it is edited
};

}  // namespace rostrix
