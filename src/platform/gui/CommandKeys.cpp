// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/CommandKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace rostrix {

void setCommandKey(QAction* action, const QString& keys, QWidget* button) {
    const QKeySequence sequence(keys, QKeySequence::PortableText);
    action->setShortcut(sequence);
    const QString shown = sequence.toString(QKeySequence::NativeText);
    QString tip = action->toolTip();
    if (!tip.endsWith(QStringLiteral("(%1)").arg(shown)))
        tip = QStringLiteral("%1 (%2)").arg(tip, shown);
    action->setToolTip(tip);
    if (button) button->setToolTip(tip);
}

const char* commandKeyOf(std::span<const CommandKey> keys, const QString& command) {
    for (const CommandKey& key : keys)
        if (command == QLatin1String(key.command)) return key.keys;
    return nullptr;
}

}  // namespace rostrix
