// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/LimitedLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace rostrix {

LimitedLineEdit::LimitedLineEdit(QWidget* parent) : QLineEdit(parent) {}

int LimitedLineEdit::room() const {
    const int kept = static_cast<int>(text().size() - selectedText().size());
    return std::max(0, limit_ - kept);
}

void LimitedLineEdit::pasteLimited() {
    QString clip = QApplication::clipboard()->text();
    clip = clip.left(clip.indexOf('\n') < 0 ? clip.size() : clip.indexOf('\n'));
    insert(clip.left(room()));
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteLimited();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && typed.at(0).isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (inserts && room() < typed.size()) {
        event->accept();  // the limit is reached: the key does nothing
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &LimitedLineEdit::pasteLimited);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void LimitedLineEdit::dropEvent(QDropEvent* event) {
    // A drop that would go past the limit is refused as a whole.
    const QString before = text();
    QLineEdit::dropEvent(event);
    if (text().size() > std::max<qsizetype>(limit_, before.size())) setText(before);
}

}  // namespace rostrix
