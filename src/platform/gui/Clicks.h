// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace rostrix {

// Runs handler (inside guarded()) when widget is clicked with the left button: labels and
// pictures that act like links or close their window.
void onClick(QWidget* widget, std::function<void()> handler);

}  // namespace rostrix
