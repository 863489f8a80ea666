// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QMenu;
class QTableView;

namespace rostrix {

// The column headers' context menu of a table: one check item per column that hides or
// shows it. Hidden columns stay hidden, by title, when the table gets new rows or another
// set of columns; the last column shown cannot be hidden.
class ColumnChooser : public QObject {
    Q_OBJECT
public:
    explicit ColumnChooser(QTableView* table);
    // The menu the headers offer, made afresh for the columns the table has now.
    QMenu* makeMenu(QWidget* parent);
    // The titles of the columns the user hid, for the next opening of the window.
    QStringList hiddenTitles() const;
    void setHiddenTitles(const QStringList& titles);

private:
    void apply();
    QString titleOf(int column) const;

    QTableView* table_;
    QSet<QString> hidden_;
};

}  // namespace rostrix
