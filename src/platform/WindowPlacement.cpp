// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

#include <algorithm>

namespace rostrix {

namespace {

// One axis: the start of a span of `size` wanted at `wanted`, within [low, low + room).
int placeSpan(int wanted, int size, int low, int room) {
    if (size >= room) return low;
    return std::clamp(wanted, low, low + room - size);
}

}  // namespace

QPoint placeOnScreen(const QRect& window, const QRect& screen) {
    if (!screen.isValid()) return window.topLeft();
    return {placeSpan(window.x(), window.width(), screen.x(), screen.width()),
            placeSpan(window.y(), window.height(), screen.y(), screen.height())};
}

QRect fitOnScreen(const QRect& wantedClient, const QMargins& frame, const QRect& screen) {
    if (!screen.isValid()) return wantedClient;
    const QRect wanted = wantedClient.marginsAdded(frame);
    const QSize room = screen.size();
    QRect fitted(QPoint(), wanted.size().boundedTo(room));
    fitted.moveCenter(wanted.center());
    fitted.moveTopLeft(placeOnScreen(fitted, screen));
    return fitted.marginsRemoved(frame);
}

}  // namespace rostrix
