// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/gui/FieldTabs.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "platform/gui/TabTypingBox.h"

namespace rostrix {

namespace {

class FieldTabKeys : public QObject {
public:
    explicit FieldTabKeys(QPlainTextEdit* pane) : QObject(pane), pane_(pane) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        // Ctrl+Tab and Ctrl+Shift+Tab go on to the pane's way out.
        if (!tab || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
        const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        QTextCursor cursor = pane_->textCursor();
        const QTextBlock block = cursor.block();
        const LineRole role = roleOfBlock(block);
        const auto length = static_cast<std::size_t>(block.length() - 1);
        const auto column = static_cast<std::size_t>(cursor.positionInBlock() + 1);
        const std::size_t to = back ? previousFieldColumn(role, length, column)
                                    : nextFieldColumn(role, length, column);
        cursor.setPosition(block.position() + static_cast<int>(to) - 1);
        pane_->setTextCursor(cursor);
        return true;
    }

private:
    QPlainTextEdit* pane_;
};

}  // namespace

LineRole roleOfBlock(const QTextBlock& block) {
    const auto start = [](const QTextBlock& b) {
        return b.text().left(2).toLatin1().toStdString();
    };
    QTextBlock above = block.previous();
    while (above.isValid() && lineRole(false, start(above), Section::None) != LineRole::Section)
        above = above.previous();
    const Section section = above.isValid() ? sectionOpened(start(above)) : Section::None;
    return lineRole(block.blockNumber() == 0, start(block), section);
}

void moveByFields(QPlainTextEdit* pane) {
    letCtrlTabLeave(pane, QStringLiteral("Tab moves to the next field, Shift+Tab to the one "
                                         "before; Ctrl+Tab moves on, Ctrl+Shift+Tab back"));
    pane->installEventFilter(new FieldTabKeys(pane));
}

}  // namespace rostrix
