// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/ScreenFit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/WindowPlacement.h"
#include "platform/gui/Dialogs.h"

namespace rostrix {

namespace {

// The frame the window has on the desktop; before its first showing, the main window's.
QMargins frameOf(const QWidget* window) {
    for (const QWidget* w : {window, static_cast<const QWidget*>(theMainWindow())}) {
        if (!w || !w->isVisible()) continue;
        const QRect f = w->frameGeometry();
        const QRect g = w->geometry();
        if (f != g)
            return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                    f.bottom() - g.bottom()};
    }
    return {};
}

bool fixedSize(const QWidget* window) {
    const QLayout* layout = window->layout();
    return window->minimumSize() == window->maximumSize() ||
           (layout && layout->sizeConstraint() == QLayout::SetFixedSize);
}

// Moves what the window shows into a scroll area of the fitted size. A main window scrolls
// its central area; a window whose controls stand where they were put scrolls all of them;
// a window that arranges its controls with a layout of its own keeps them.
bool scrollContent(QWidget* window) {
    if (window->property("rostrixScrolls").toBool()) return true;
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("FitScrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        main->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        scroll->setWidget(main->takeCentralWidget());
        main->setCentralWidget(scroll);
    } else if (!window->layout()) {
        auto* content = new QWidget;
        content->setFixedSize(window->size());
        for (QObject* child : window->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || w->isWindow()) continue;
            const bool shown = !w->isHidden();
            w->setParent(content);
            w->setVisible(shown);
        }
        scroll->setWidget(content);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
    } else {
        delete scroll;
        return false;
    }
    scroll->show();  // the window is being shown: its new area with it, not later
    window->setProperty("rostrixScrolls", true);
    return true;
}

}  // namespace

void fitToScreen(QWidget* window) {
    const QRect wanted = window->geometry();
    const QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (!screen) screen = window->screen();
    if (!screen) return;
    const QMargins frame = frameOf(window);
    const QRect room = screen->availableGeometry();
    QRect fitted = fitOnScreen(wanted, frame, room);
    if (fitted.size() != wanted.size()) {
        if (!fixedSize(window)) {
            window->setMinimumSize(window->minimumSize().boundedTo(fitted.size()));
            window->resize(fitted.size());
        } else if (scrollContent(window)) {
            // A scroll bar takes room of its own: the window grows by it where it can.
            const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            QSize size = fitted.size();
            if (size.height() < wanted.height()) size.rwidth() += bar;
            if (size.width() < wanted.width()) size.rheight() += bar;
            fitted = fitOnScreen(QRect(fitted.topLeft(), size), frame, room);
            window->setFixedSize(fitted.size());
        }
    }
    // A window nobody placed is placed by the desktop, on the screen; a Wayland desktop
    // places every window itself.
    if (window->testAttribute(Qt::WA_Moved) && fitted.topLeft() != wanted.topLeft() &&
        !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window->move(fitted.topLeft() - QPoint(frame.left(), frame.top()));
}

}  // namespace rostrix
