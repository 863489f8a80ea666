// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "format/TeamLayout.h"

class QLayout;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class QTextCursor;
class QTextDocument;

namespace rostrix {

class TeamTableModel;
struct TeamFileProblem;

// A team file pane's document as a table: the title line's letter, season and team name in
// a strip on top, the players' lines under it, one cell per field. Arrows move between
// cells, Enter, F2 or typing edits one, Escape cancels; a value the field cannot take is
// refused in the cell with the reason, and nothing is written. A click on a column heading
// sorts the table (a third click goes back to the file's order); the file never changes
// order.
class TeamTable : public QWidget {
    Q_OBJECT
public:
    TeamTable(QTextDocument* document, QWidget* parent);

    TeamTableModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    // Makes current the cell showing a place of the document (line from 0, column from 1),
    // or the whole row for the whole line; false when no cell shows that line.
    bool showPlace(int line, int column, bool wholeLine);
    // Gives the focus to the title field holding a column of the title line; false when none
    // does.
    bool focusTitleField(int column);
    // The problems a check found, marked on their cells and title fields.
    void setProblems(const std::vector<TeamFileProblem>& problems,
                     const std::vector<QTextCursor>& lines);

    // Undo and redo act on the document; copy, cut and paste on the current cell.
    void undo();
    void redo();
    void copy();
    void cut();
    void paste();

signals:
    // The current cell moved to a field of a line (line from 0, the field's first column).
    void placeChanged(int line, int column);
    // A value was refused, and why.
    void refused(const QString& reason);

protected:
    // A title field left with a refused value shows the file's again.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* titleStrip();
    QTableView* playerView();
    void takeTitleField(QLineEdit* edit, const TeamField& f);
    void showTitleLine();
    void putIntoCurrent(const QString& text);

    QTextDocument* document_;
    TeamTableModel* model_;
    QSortFilterProxyModel* proxy_;
    QTableView* view_;
    std::vector<std::pair<QLineEdit*, const TeamField*>> titleFields_;
};

}  // namespace rostrix
