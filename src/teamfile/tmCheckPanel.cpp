// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/tmCheckPanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace rostrix {

namespace {

constexpr int kPanelHeight = 120;
constexpr int kMarkerWidth = 14;

QString rowText(const TeamFileProblem& problem) {
    return QString::fromLatin1(describeProblems({problem})).trimmed();
}

}  // namespace

// The strip left of the pane: a marker beside each line at fault, so the marking does not
// rest on colour alone.
class ProblemMarkers : public QWidget {
public:
    ProblemMarkers(QPlainTextEdit* pane, const std::vector<QTextCursor>& lines)
        : QWidget(pane->parentWidget()), pane_(pane), lines_(lines) {
        setObjectName(QStringLiteral("ProblemMarkers"));
        setAccessibleName(QStringLiteral("Lines with problems"));
        connect(pane, &QPlainTextEdit::updateRequest, this, [this] { update(); });
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const int top = pane_->viewport()->mapTo(parentWidget(), QPoint()).y() - y();
        p.setPen(Qt::NoPen);
        p.setBrush(palette().windowText());
        for (const QTextCursor& line : lines_) {
            const QRect r = pane_->cursorRect(QTextCursor(line.block()));
            const int mid = top + r.center().y();
            if (mid < top || mid > top + pane_->viewport()->height()) continue;
            // A small triangle pointing at the line.
            const QPoint arrow[3] = {{3, mid - 4}, {3, mid + 4}, {kMarkerWidth - 3, mid}};
            p.drawPolygon(arrow, 3);
        }
    }

private:
    QPlainTextEdit* pane_;
    const std::vector<QTextCursor>& lines_;
};

CheckPanel::CheckPanel(QPlainTextEdit* pane)
    : QFrame(pane->parentWidget()), pane_(pane), paneHome_(pane->geometry()) {
    setObjectName(QStringLiteral("CheckPanel1"));
    setFrameShape(QFrame::StyledPanel);
    auto* title = new QLabel(QStringLiteral("Team file problems"), this);
    close_ = new QToolButton(this);
    close_->setObjectName(QStringLiteral("CloseCheckPanel"));
    close_->setText(QStringLiteral("\u00d7"));
    close_->setAutoRaise(true);
    close_->setToolTip(QStringLiteral("Close the problem list (Esc)"));
    close_->setAccessibleName(QStringLiteral("Close the problem list"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ProblemList"));
    list_->setAccessibleName(QStringLiteral("Team file problems"));
    title->setBuddy(list_);
    auto* head = new QHBoxLayout;
    head->addWidget(title, 1);
    head->addWidget(close_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 4);
    column->setSpacing(2);
    column->addLayout(head);
    column->addWidget(list_, 1);
    markers_ = new ProblemMarkers(pane, lineStarts_);
    markers_->hide();
    hide();
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { goTo(list_->row(item)); });
    connect(close_, &QToolButton::clicked, this, &CheckPanel::closePanel);
}

void CheckPanel::showProblems(const std::vector<TeamFileProblem>& problems, std::size_t total) {
    problems_ = problems;
    lineStarts_.clear();
    list_->clear();
    for (const TeamFileProblem& p : problems) {
        QTextCursor at(pane_->document()->findBlockByNumber(static_cast<int>(p.line) - 1));
        if (p.line > static_cast<std::size_t>(pane_->document()->blockCount()))
            at.movePosition(QTextCursor::End);
        lineStarts_.push_back(at);
        list_->addItem(rowText(p));
    }
    // The rest are only counted: the list stays short however broken the file.
    if (total > problems.size())
        list_->addItem(QStringLiteral("and %1 more problems").arg(total - problems.size()));
    if (isHidden()) {
        // Taken afresh each time: the window may have moved its contents since.
        paneHome_ = pane_->geometry();
        place();
        markers_->show();
        show();
        raise();
    }
    markLines();
    list_->setCurrentRow(0);
    list_->setFocus();
    emit problemsChanged();
}

void CheckPanel::closePanel() {
    if (isHidden()) return;
    const bool focusHere = isAncestorOf(focusWidget()) || hasFocus();
    hide();
    markers_->hide();
    pane_->setGeometry(paneHome_);
    problems_.clear();
    lineStarts_.clear();
    list_->clear();
    pane_->setExtraSelections({});
    if (focusHere) pane_->setFocus();
    emit problemsChanged();
}

QRect CheckPanel::paneRoom() const {
    return isHidden() ? paneHome_ : paneHome_.adjusted(0, 0, 0, -kPanelHeight);
}

void CheckPanel::setPaneHome(const QRect& home) {
    paneHome_ = home;
    if (isHidden()) return pane_->setGeometry(home);
    place();
}

// The pane, the markers beside it and the panel under them share the pane's room.
void CheckPanel::place() {
    const QRect home = paneHome_;
    pane_->setGeometry(home.x() + kMarkerWidth, home.y(), home.width() - kMarkerWidth,
                       home.height() - kPanelHeight);
    markers_->setGeometry(home.x(), home.y(), kMarkerWidth, home.height() - kPanelHeight);
    setGeometry(home.x(), home.bottom() + 1 - kPanelHeight, home.width(), kPanelHeight);
}

int CheckPanel::rowCount() const {
    return list_->count();
}

int CheckPanel::currentRow() const {
    return list_->currentRow();
}

void CheckPanel::next() {
    if (isHidden() || problems_.empty()) return;
    goTo((list_->currentRow() + 1) % static_cast<int>(problems_.size()));
}

void CheckPanel::previous() {
    if (isHidden() || problems_.empty()) return;
    const int n = static_cast<int>(problems_.size());
    goTo((list_->currentRow() + n - 1) % n);
}

// The cursor goes to the problem's line and column with the field at fault selected (the
// whole line when the line itself is at fault), and the pane takes the focus.
void CheckPanel::goTo(int row) {
    if (row < 0 || row >= static_cast<int>(problems_.size())) return;
    list_->setCurrentRow(row);
    const TeamFileProblem& p = problems_[static_cast<std::size_t>(row)];
    QTextCursor c = lineStarts_[static_cast<std::size_t>(row)];
    c.movePosition(QTextCursor::StartOfBlock);
    const int length = c.block().length() - 1;
    if (p.column == 0) {
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    } else {
        const int first = std::min(static_cast<int>(p.column) - 1, length);
        const int last = std::min(first + static_cast<int>(p.width), length);
        // The anchor at the field's end, the cursor at its first column.
        const int start = c.position();
        c.setPosition(start + last);
        c.setPosition(start + first, QTextCursor::KeepAnchor);
    }
    pane_->setTextCursor(c);
    pane_->ensureCursorVisible();
    pane_->setFocus();
    emit wentToProblem();
}

void CheckPanel::markLines() {
    QList<QTextEdit::ExtraSelection> marks;
    for (const QTextCursor& line : lineStarts_) {
        QTextEdit::ExtraSelection mark;
        // The whole line is selected, so its text takes the dark colour as well.
        mark.cursor = QTextCursor(line.block());
        mark.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        mark.format.setBackground(kMarkedBackground);
        mark.format.setForeground(Qt::black);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(mark);
    }
    pane_->setExtraSelections(marks);
    markers_->update();
}

void CheckPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        closePanel();
        event->accept();
        return;
    }
    QFrame::keyPressEvent(event);
}

}  // namespace rostrix
