// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

namespace rostrix {

// Where a window (its frame, title bar included) may go on a screen's free area: its
// wanted place, moved just far enough to lie wholly on the screen. A window larger than
// the screen keeps its top-left corner, and so its title and close box, on the screen.
QPoint placeOnScreen(const QRect& window, const QRect& screen);

// The client area a window gets on a screen's free area: the wanted size when it fits
// there with its frame around it, else the largest that does, each way on its own; the
// frame keeps the centre it was wanted at and then goes where placeOnScreen puts it. An
// unknown screen changes nothing.
QRect fitOnScreen(const QRect& wantedClient, const QMargins& frame, const QRect& screen);

}  // namespace rostrix
