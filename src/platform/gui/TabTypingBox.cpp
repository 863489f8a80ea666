// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/TabTypingBox.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace rostrix {

namespace {

class CtrlTabLeaves : public QObject {
public:
    explicit CtrlTabLeaves(QPlainTextEdit* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (!tab || !(key->modifiers() & Qt::ControlModifier)) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();  // the box takes the key before any shortcut does
            return true;
        }
        const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        // The next control in the chain that Tab would stop at.
        QWidget* next = box_;
        do {
            next = back ? next->previousInFocusChain() : next->nextInFocusChain();
        } while (next != box_ &&
                 !((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled() &&
                   next->window() == box_->window() && !box_->isAncestorOf(next)));
        next->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }

private:
    QPlainTextEdit* box_;
};

}  // namespace

void letCtrlTabLeave(QPlainTextEdit* box, const QString& boxHint) {
    box->installEventFilter(new CtrlTabLeaves(box));
    const QString hint =
        boxHint.isEmpty()
            ? QStringLiteral("Tab types a tab; Ctrl+Tab moves on, Ctrl+Shift+Tab back")
            : boxHint;
    box->setToolTip(box->toolTip().isEmpty() ? hint : box->toolTip() + "\n" + hint);
}

}  // namespace rostrix
