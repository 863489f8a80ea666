// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Sets text as widget's tool tip shown as plain text: what a server said is never taken
// as markup, as the message boxes show it.
void setPlainToolTip(QWidget* widget, const QString& text);

// The tool tip that shows text as plain text.
QString plainToolTip(const QString& text);
