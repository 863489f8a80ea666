// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/Clicks.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/gui/ErrorBox.h"

namespace rostrix {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* widget, std::function<void()> handler)
        : QObject(widget), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton ||
            !widget->rect().contains(mouse->position().toPoint()))
            return false;
        guarded(handler_);
        return true;
    }

private:
    std::function<void()> handler_;
};

}  // namespace

void onClick(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ClickFilter(widget, std::move(handler)));
}

}  // namespace rostrix
