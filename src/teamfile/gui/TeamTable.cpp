// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/gui/TeamTable.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextDocument>
#include <QToolTip>

#include "platform/gui/HelpWindow.h"
#include "teamfile/FieldEdit.h"
#include "teamfile/gui/TeamTableModel.h"
#include "teamfile/tmCheckPanel.h"

namespace rostrix {

namespace {

// Enter edits the current cell, as F2 does.
class PlayerTableView : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && state() != EditingState && currentIndex().isValid() &&
            (currentIndex().flags() & Qt::ItemIsEditable)) {
            edit(currentIndex());
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

// Keeps the cell's editor open while it holds a value the field cannot take, the reason
// shown under it; Escape still cancels. Leaving the cell another way drops the value.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(TeamTable* table, QSortFilterProxyModel* proxy)
        : QStyledItemDelegate(table), table_(table), proxy_(proxy) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        editing_ = index;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
                key == Qt::Key_Backtab) {
                const QString why =
                    table_->model()->refusalFor(proxy_->mapToSource(editing_), editor->text());
                if (!why.isEmpty()) {
                    emit table_->refused(why);
                    QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), why,
                                       editor);
                    return true;
                }
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TeamTable* table_;
    QSortFilterProxyModel* proxy_;
    mutable QPersistentModelIndex editing_;
};

}  // namespace

TeamTable::TeamTable(QTextDocument* document, QWidget* parent)
    : QWidget(parent), document_(document), model_(new TeamTableModel(document, this)) {
    setObjectName(QStringLiteral("TeamTable1"));
    setProperty(kHelpTopicProperty, QStringLiteral("table-view"));
    // It covers the pane's room, the problem markers beside the pane included.
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(titleStrip());
    column->addWidget(playerView(), 1);
    setFocusProxy(view_);

    connect(model_, &TeamTableModel::refused, this, &TeamTable::refused);
    connect(document, &QTextDocument::contentsChanged, this, &TeamTable::showTitleLine);
    const auto tellPlace = [this] {
        const QModelIndex at = proxy_->mapToSource(view_->currentIndex());
        if (!at.isValid()) return;
        const TeamField* f = TeamTableModel::fieldOf(at.column());
        emit placeChanged(model_->lineOf(at.row()), f ? f->first : 1);
    };
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, tellPlace);
    // An edit of the line moves the text's cursors; the cell's place is told again.
    connect(model_, &QAbstractItemModel::dataChanged, this, tellPlace);
    showTitleLine();
}

QLayout* TeamTable::titleStrip() {
    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(4, 3, 4, 3);
    strip->setSpacing(4);
    const QFontMetrics metrics(font());
    const std::pair<const TeamField*, const char*> title[] = {
        {&field::kLetter, "Letter"}, {&field::kSeason, "Season"}, {&field::kTeamName, "Team name"}};
    for (const auto& [f, caption] : title) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Title") + QString::fromLatin1(caption).remove(' '));
        label->setBuddy(edit);
        edit->setFixedWidth(
            metrics.horizontalAdvance(QLatin1Char('W')) * static_cast<int>(f->width() + 1) + 12);
        strip->addWidget(label);
        strip->addWidget(edit);
        strip->addSpacing(12);
        titleFields_.emplace_back(edit, f);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this,
                [this, edit, f = f] { takeTitleField(edit, *f); });
    }
    strip->addStretch(1);
    return strip;
}

QTableView* TeamTable::playerView() {
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(TeamTableModel::SortRole);
    view_ = new PlayerTableView(this);
    view_->setObjectName(QStringLiteral("PlayerTable"));
    view_->setAccessibleName(QStringLiteral("Players"));
    view_->setModel(proxy_);
    view_->setItemDelegate(new CellDelegate(this, proxy_));
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    // Tab leaves the table for the title fields and the tool bar; arrows move in it.
    view_->setTabKeyNavigation(false);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    QHeaderView* top = view_->horizontalHeader();
    top->setSortIndicator(-1, Qt::AscendingOrder);
    top->setSortIndicatorClearable(true);
    view_->setSortingEnabled(true);
    // Widths from the fields' own, so a table of any length opens at once.
    const QFontMetrics metrics(font());
    const QFontMetrics heading(top->font());
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < model_->columnCount(); ++c) {
        const TeamField* f = TeamTableModel::fieldOf(c);
        const int text = f ? digit * static_cast<int>(f->width())
                           : metrics.horizontalAdvance(QStringLiteral("starter"));
        const int title =
            heading.horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString());
        view_->setColumnWidth(c, std::max(text, title) + 24);
    }
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    auto* redo = new QShortcut(QKeySequence::Redo, view_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(redo, &QShortcut::activated, this, &TeamTable::redo);
    return view_;
}

// The strip shows the title line as it stands, except a field being typed in.
void TeamTable::showTitleLine() {
    const bool title = model_->hasTitleLine();
    for (const auto& [edit, f] : titleFields_) {
        edit->setEnabled(title);
        if (!edit->hasFocus() || !edit->isModified())
            edit->setText(title ? model_->fieldText(0, *f) : QString());
        const QString problems = title ? model_->problemsAt(0, f) : QString();
        edit->setToolTip(problems);
        QPalette marked = palette();
        if (!problems.isEmpty()) {
            marked.setColor(QPalette::Base, kMarkedBackground);
            marked.setColor(QPalette::Text, Qt::black);
        }
        edit->setPalette(marked);
    }
}

// Enter or leaving a title field writes it; a refused value stays to be mended while the
// field has the focus, and goes when it loses it.
void TeamTable::takeTitleField(QLineEdit* edit, const TeamField& f) {
    if (!edit->isModified()) return;
    const QString why = model_->writeField(0, LineRole::Title, f, edit->text());
    if (why.isEmpty() || !edit->hasFocus()) edit->setModified(false);
    if (!why.isEmpty()) {
        emit refused(why);
        if (edit->hasFocus())
            QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), why, edit);
    }
    showTitleLine();
}

bool TeamTable::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut)
        for (const auto& [edit, f] : titleFields_)
            if (watched == edit) takeTitleField(edit, *f);
    return QWidget::eventFilter(watched, event);
}

bool TeamTable::showPlace(int line, int column, bool wholeLine) {
    const int row = model_->rowOf(line);
    if (row < 0) return false;
    const QModelIndex at =
        proxy_->mapFromSource(model_->index(row, wholeLine ? 0 : model_->columnAt(row, column)));
    view_->setCurrentIndex(at);
    if (wholeLine)
        view_->selectionModel()->select(
            at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(at);
    return true;
}

bool TeamTable::focusTitleField(int column) {
    for (const auto& [edit, f] : titleFields_) {
        if (column < f->first || column > f->last || !edit->isEnabled()) continue;
        edit->setFocus();
        edit->selectAll();
        return true;
    }
    return false;
}

void TeamTable::setProblems(const std::vector<TeamFileProblem>& problems,
                            const std::vector<QTextCursor>& lines) {
    model_->setProblems(problems, lines);
    showTitleLine();
}

void TeamTable::undo() {
    document_->undo();
}

void TeamTable::redo() {
    document_->redo();
}

void TeamTable::copy() {
    const QModelIndex at = view_->currentIndex();
    if (at.isValid()) QApplication::clipboard()->setText(at.data().toString());
}

void TeamTable::cut() {
    copy();
    putIntoCurrent(QString());
}

void TeamTable::paste() {
    QString text = QApplication::clipboard()->text();
    // A copied line brings its line end along.
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    putIntoCurrent(text);
}

void TeamTable::putIntoCurrent(const QString& text) {
    const QModelIndex at = view_->currentIndex();
    if (!at.isValid()) return;
    if (!(at.flags() & Qt::ItemIsEditable)) {
        const QString heading = proxy_->headerData(at.column(), Qt::Horizontal).toString();
        emit refused(at.column() == 0
                         ? QStringLiteral("the role follows from the line's place in the file")
                         : QStringLiteral("this line has no %1").arg(heading));
        return;
    }
    proxy_->setData(at, text);
}

}  // namespace rostrix
