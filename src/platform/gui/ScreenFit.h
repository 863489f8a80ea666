// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace rostrix {

// Makes window fit the free area of the screen it opens on, frame included, and lie wholly
// on it: a window larger than that area gets the largest size that fits. A window of fixed
// size keeps its content at its size and shows it in a scroll area instead; a window that
// may be resized may be made smaller than its smallest size. A window that fits stays as
// it is.
void fitToScreen(QWidget* window);

}  // namespace rostrix
