// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

namespace rostrix {

// Where a window (its frame, title bar included) may go on a screen's free area: its
// wanted place, moved just far enough to lie wholly on the screen. A window larger than
// the screen keeps its top-left corner, and so its title and close box, on the screen.
QPoint placeOnScreen(const QRect& window, const QRect& screen);

}  // namespace rostrix
