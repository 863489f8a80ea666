#include "platform/gui/CompactPath.h"

#include <QFontMetrics>
#include <QStringList>

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

}  // namespace rostrix
