// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QFont;
class QFontMetrics;
class QLabel;

namespace rostrix {

// Shortens a path for a label that cannot show it whole: the leading folders give way,
// one at a time, to "...", while the last part (the file or the innermost folder) is
// kept: "/home/ann/leagues/1927/27ALnya.zip" becomes "/.../1927/27ALnya.zip". When even
// "/.../name" does not fit, the name itself loses its end. `fits` says whether a text
// fits the label.
QString compactPath(const QString& path, const std::function<bool(const QString&)>& fits);

// For a one-line label `width` pixels wide.
QString compactPath(const QString& path, const QFontMetrics& metrics, int width);

// Whether text, word-wrapped in font to `width` pixels as a label wraps it, takes at most
// `lines` lines and no line is wider than that.
bool fitsWrappedLines(const QString& text, const QFont& font, int width, int lines);

// Shows path in a label of two word-wrapped lines: a longer path gives up its leading
// folders rather than its end.
void showWrappedPath(QLabel* label, const QString& path);

}  // namespace rostrix
