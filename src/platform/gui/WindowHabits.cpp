// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/WindowHabits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/gui/HelpWindow.h"
#include "platform/gui/ScreenFit.h"

namespace rostrix {

namespace {

constexpr const char* kFramePending = "rostrixFramePending";

class WindowHabits : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        const bool window = widget->isWindow() && (widget->windowType() == Qt::Window ||
                                                   widget->windowType() == Qt::Dialog);
        if (event->type() == QEvent::Show && window) {
            fitToScreen(widget);
            widget->setProperty(kFramePending, true);
        }
        // The desktop tells a window's frame only once it has put the window on the screen
        // (by the time it activates the window, at the latest): the window then fits again,
        // title bar included.
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowActivate ||
             type == QEvent::UpdateRequest) &&
            window && widget->property(kFramePending).toBool() &&
            widget->frameGeometry() != widget->geometry()) {
            widget->setProperty(kFramePending, false);
            fitToScreen(widget);
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
                showHelp(widget, helpTopicAt(widget));
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
