// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/WindowHabits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/gui/HelpWindow.h"
#include "platform/gui/ScreenFit.h"

namespace rostrix {

namespace {

class WindowHabits : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget->isWindow() &&
            (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog))
            fitToScreen(widget);
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
                showHelp(widget, helpTopic(widget->window()));
                return true;
            }
        }
        return false;
    }
};

}  // namespace

void installWindowHabits() {
    static QObject* installed = nullptr;
    if (installed && installed->parent() == qApp) return;
    installed = new WindowHabits(qApp);
    qApp->installEventFilter(installed);
}

}  // namespace rostrix
