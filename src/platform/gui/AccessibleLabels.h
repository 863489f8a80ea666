// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QLabel;

namespace rostrix {

// What a label that acts on a click is to a screen reader.
enum class LabelActsAs { Link, Button };

// Makes a label that acts on a left click (handler runs inside guarded()) a control for
// the keyboard too: Tab reaches it, Enter or Space activates it, and screen readers
// know it as a link or a button they can press. Its look stays; only while the keyboard
// has brought the focus there does a focus frame show around its text.
void makeActivatable(QLabel* label, LabelActsAs role, std::function<void()> handler);

// A label that shows a running status: screen readers read it as a status whose name is
// the text it shows now, and hear of each new text. Give it a description, never a fixed
// accessible name, which would hide the text.
void markAsStatus(QLabel* label);

}  // namespace rostrix
