// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/CompactPath.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

namespace rostrix {

namespace {

const QString kEllipsis = QStringLiteral("...");

}  // namespace

QString compactPath(const QString& path, const std::function<bool(const QString&)>& fits) {
    if (fits(path)) return path;
    QStringList parts = path.split(QLatin1Char('/'));
    // parts[0] is "" for an absolute path; the last part is the name that stays.
    const int first = parts.size() > 1 && parts.front().isEmpty() ? 1 : 0;
    const QString root = first == 1 ? QStringLiteral("/") : QString();
    const QString name = parts.back();
    for (int drop = first; drop < parts.size() - 1; ++drop) {
        const QStringList kept = parts.mid(drop + 1);
        const QString candidate = root + kEllipsis + QLatin1Char('/') + kept.join(QLatin1Char('/'));
        if (fits(candidate)) return candidate;
    }
    // Not even the bare name fits after the ellipsis: cut the name's end.
    const QString head = parts.size() > 1 ? root + kEllipsis + QLatin1Char('/') : QString();
    for (int keep = name.size() - 1; keep > 0; --keep) {
        const QString candidate = head + name.left(keep) + kEllipsis;
        if (fits(candidate)) return candidate;
    }
    return head.isEmpty() ? kEllipsis : head;
}

QString compactPath(const QString& path, const QFontMetrics& metrics, int width) {
    return compactPath(
        path, [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; });
}

bool fitsWrappedLines(const QString& text, const QFont& font, int width, int lines) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int count = 0;
    bool fits = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        // A part without a break opportunity overruns the line instead of wrapping.
        if (line.naturalTextWidth() > width || ++count > lines) fits = false;
    }
    layout.endLayout();
    return fits;
}

void showWrappedPath(QLabel* label, const QString& path) {
    const int width = label->contentsRect().width();
    const QFont font = label->font();
    label->setText(compactPath(
        path, [&](const QString& text) { return fitsWrappedLines(text, font, width, 2); }));
}

}  // namespace rostrix
