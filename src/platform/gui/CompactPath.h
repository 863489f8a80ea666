#pragma once

#include <QString>
#include <functional>

class QFontMetrics;

namespace rostrix {

// Shortens a path for a label that cannot show it whole: the leading folders give way,
// one at a time, to "...", while the last part (the file or the innermost folder) is
// kept: "/home/ann/leagues/1927/27ALnya.zip" becomes "/.../1927/27ALnya.zip". When even
// "/.../name" does not fit, the name itself loses its end. `fits` says whether a text
// fits the label.
QString compactPath(const QString& path, const std::function<bool(const QString&)>& fits);

// For a one-line label `width` pixels wide.
QString compactPath(const QString& path, const QFontMetrics& metrics, int width);

}  // namespace rostrix
