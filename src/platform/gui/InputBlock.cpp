// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/InputBlock.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/gui/CloseOnSignal.h"

namespace rostrix {

namespace {

int g_blocks = 0;
QPointer<QWidget> g_exempt;

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::InputMethod:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputBlock::InputBlock(QWidget* open) : open_(open) {
    ++g_blocks;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

InputBlock::~InputBlock() {
    // What the window system queued while the step ran is delivered now, into the filter.
    QCoreApplication::processEvents();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    if (--g_blocks == 0) resumeExit();
}

void InputBlock::pump() {
    QCoreApplication::processEvents();
}

bool InputBlock::active() {
    return g_blocks > 0;
}

void InputBlock::exempt(QWidget* window) {
    g_exempt = window;
}

bool InputBlock::isOpen(QObject* watched) const {
    if (!open_) return false;
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget == open_ || open_->isAncestorOf(widget);
    return watched == open_->windowHandle();
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    // The exempt window's events pass both on their way through its window-system window
    // and at its widgets.
    if (g_exempt &&
        (watched == g_exempt->windowHandle() ||
         (watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == g_exempt.data())))
        return QObject::eventFilter(watched, event);
    if (isUserInput(event->type()) && !isOpen(watched)) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace rostrix
