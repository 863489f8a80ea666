// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>

#include "platform/gui/CompactPath.h"

namespace rostrix {
namespace {

TEST(CompactPath, LeadingFoldersGiveWayOneAtATime) {
    struct Case {
        const char* path;
        int maxChars;
        const char* shown;
    };
    const Case cases[] = {
        {"/home/ann/leagues/1927/27ALnya.zip", 99, "/home/ann/leagues/1927/27ALnya.zip"},
        {"/home/ann/leagues/1927/27ALnya.zip", 33, "/.../ann/leagues/1927/27ALnya.zip"},
        {"/home/ann/leagues/1927/27ALnya.zip", 29, "/.../leagues/1927/27ALnya.zip"},
        {"/home/ann/leagues/1927/27ALnya.zip", 21, "/.../1927/27ALnya.zip"},
        {"/home/ann/leagues/1927/27ALnya.zip", 16, "/.../27ALnya.zip"},
        {"/home/ann/leagues/1927/27ALnya.zip", 12, "/.../27AL..."},
        {"/home/ann/leagues/1927/27ALnya.zip", 3, "/.../"},
        {"leagues/1927/27ALnya.zip", 20, ".../1927/27ALnya.zip"},
        {"27ALnya.zip", 8, "27ALn..."},
        {"/", 0, "/.../"},
    };
    for (const Case& c : cases) {
        const auto fits = [&](const QString& text) { return text.size() <= c.maxChars; };
        EXPECT_EQ(compactPath(QString::fromLatin1(c.path), fits), QString::fromLatin1(c.shown))
            << c.path << " in " << c.maxChars;
    }
}

TEST(CompactPath, MeasuresWithTheLabelsFont) {
    QLabel label;
    const QFontMetrics metrics(label.font());
    const QString path = QStringLiteral("/srv/qrd/leagues/a-very-long-folder-name/27ALnya.zip");
    const int width = metrics.horizontalAdvance(QStringLiteral("/.../27ALnya.zip")) + 2;
    const QString shown = compactPath(path, metrics, width);
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/27ALnya.zip"))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/..."))) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), width);
}

}  // namespace
}  // namespace rostrix
