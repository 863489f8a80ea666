// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/ColumnChooser.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

namespace rostrix {

ColumnChooser::ColumnChooser(QTableView* table) : QObject(table), table_(table) {
    QHeaderView* header = table->horizontalHeader();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, [this, header](QPoint at) {
        QMenu* menu = makeMenu(table_);
        menu->exec(header->mapToGlobal(at));
        delete menu;
    });
    // A wide table scrolls sideways smoothly rather than by whole columns.
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(table->model(), &QAbstractItemModel::modelReset, this, &ColumnChooser::apply);
}

QString ColumnChooser::titleOf(int column) const {
    return table_->model()->headerData(column, Qt::Horizontal).toString();
}

QMenu* ColumnChooser::makeMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("ColumnMenu"));
    const int columns = table_->model()->columnCount();
    int shown = 0;
    for (int c = 0; c < columns; ++c) shown += table_->isColumnHidden(c) ? 0 : 1;
    for (int c = 0; c < columns; ++c) {
        const QString title = titleOf(c);
        QAction* item = menu->addAction(title);
        item->setCheckable(true);
        item->setChecked(!table_->isColumnHidden(c));
        item->setEnabled(!(item->isChecked() && shown == 1));
        connect(item, &QAction::toggled, this, [this, title](bool show) {
            if (show)
                hidden_.remove(title);
            else
                hidden_.insert(title);
            apply();
        });
    }
    return menu;
}

QStringList ColumnChooser::hiddenTitles() const {
    QStringList titles(hidden_.begin(), hidden_.end());
    titles.sort();
    return titles;
}

void ColumnChooser::setHiddenTitles(const QStringList& titles) {
    hidden_ = QSet<QString>(titles.begin(), titles.end());
    apply();
}

void ColumnChooser::apply() {
    const int columns = table_->model()->columnCount();
    int shown = 0;
    for (int c = 0; c < columns; ++c) {
        table_->setColumnHidden(c, hidden_.contains(titleOf(c)));
        shown += table_->isColumnHidden(c) ? 0 : 1;
    }
    // Titles kept from another time may name every column: one stays, or the headers and
    // their menu would be gone.
    if (shown == 0 && columns > 0) table_->setColumnHidden(0, false);
}

}  // namespace rostrix
