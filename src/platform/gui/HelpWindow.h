// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTextBrowser;
class QWidget;

namespace rostrix {

// The handbook's topic for a window, found by its object name; a box or dialog shown over
// one of the program's windows takes the topic of that window, anything else the contents.
QString helpTopic(const QWidget* window);

// A part of a window with a topic of its own (the editor's table) carries it in this
// property; F1 pressed inside that part opens it.
inline constexpr char kHelpTopicProperty[] = "helpTopic";

// The topic for F1 pressed in widget: the nearest part's own topic, else its window's.
QString helpTopicAt(const QWidget* widget);

// Shows the one Help window, the handbook in the toolkit's text browser, at topic. It
// belongs to over's window, so it can be read and used beside that window even while that
// window is shown modally, and goes where that window goes.
void showHelp(QWidget* over, const QString& topic);

// The Help window's text once it has been shown, else null.
QTextBrowser* helpText();

}  // namespace rostrix
