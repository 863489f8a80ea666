// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QTextCursor>
#include <vector>

#include "format/TeamLayout.h"
#include "teamfile/TeamFileCheck.h"

class QTextDocument;

namespace rostrix {

// The player lines of a team file pane's document as a table: one row per batter or
// pitcher line in file order (the title, section and placeholder lines are no players'),
// a role column, then one column per field. The document is the only copy: cells are read
// from its lines through the layout, and a cell is written back as one edit of the
// document, so its undo, modified flag and every reader of the pane see it at once.
class TeamTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // What a proxy sorts by: counts as numbers, everything else as text.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TeamTableModel(QTextDocument* document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The field a column shows; null for the role column.
    static const TeamField* fieldOf(int column);
    // The document line (from 0) of a row, and the row of a line (-1: no player's line).
    int lineOf(int row) const;
    int rowOf(int line) const;
    // The column showing a column of the row's line (from 1): its field's, or for a blank
    // the field's before it; the role column for the line as a whole (0).
    int columnAt(int row, std::size_t fileColumn) const;

    // The value of a field of a line of the document, as a cell shows it.
    QString fieldText(int line, const TeamField& f) const;
    // Why a typed value would be refused for a cell; empty when it would be taken.
    QString refusalFor(const QModelIndex& index, const QString& typed) const;
    // Writes a typed value into a field of a line in one edit of the document; the
    // reason when it is refused, and then nothing is written.
    QString writeField(int line, LineRole role, const TeamField& f, const QString& typed);
    // Whether the document starts with a team title line.
    bool hasTitleLine() const;

    // The problems a check found, each following its line as the text is edited; their
    // cells are marked, the problem's text as their tool tip. Empty clears the marks.
    void setProblems(const std::vector<TeamFileProblem>& problems,
                     const std::vector<QTextCursor>& lines);
    // The problems shown in a field of a line, one to a line of text.
    QString problemsAt(int line, const TeamField* f) const;

signals:
    void refused(const QString& reason);

private:
    enum class Standing { Starter, Pitcher, Bench, Batter };
    struct Row {
        int line;
        LineRole role;
        Standing standing;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> scan();
    void follow(int position, int removed, int added);
    const std::string& lineText(int line) const;
    QString refusalOf(int line, LineRole role, const TeamField& f, const QString& typed,
                      std::string* laidOut) const;
    std::vector<std::size_t> problemsOn(int line) const;

    QTextDocument* document_;
    std::vector<Row> rows_;
    int scannedLines_ = 0;  // the document's lines at the last scan
    std::vector<TeamFileProblem> problems_;
    std::vector<QTextCursor> problemLines_;
    mutable std::vector<std::pair<int, std::size_t>> marks_;  // line, problem
    mutable bool marksStale_ = true;
    // The last line read, kept until the document changes: a row is read once per cell.
    mutable int cachedLine_ = -1;
    mutable std::string cachedText_;
};

}  // namespace rostrix
