// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QtTest/QTest>

#include "platform/gui/PaneText.h"

namespace rostrix {
namespace {

using Lines = std::vector<std::string>;

TEST(PaneText, LinesComeBackAsTheyWentIn) {
    const Lines cases[] = {
        {},
        {""},
        {"", ""},
        {"a", ""},  // a blank last line is still a line
        {"00    01", "*Bench"},
        {"\xA0no-break\xA0space", "\xE9\xFF\x80", "tab\there"},
    };
    QPlainTextEdit pane;
    for (const Lines& lines : cases) {
        setPaneLines(&pane, lines);
        EXPECT_EQ(paneLines(&pane), lines) << lines.size() << " lines";
        replacePaneLines(&pane, lines);
        EXPECT_EQ(paneLines(&pane), lines) << lines.size() << " lines, replaced";
    }
}

TEST(PaneText, TypedTextSplitsAtLineEnds) {
    const std::pair<QString, Lines> cases[] = {
        {"", {}},
        {"a\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"\n", {""}},
        {QString("a") + QChar::LineSeparator + "b", {"a", "b"}},
    };
    for (const auto& [text, lines] : cases) {
        QPlainTextEdit pane;
        QTest::keyClicks(&pane, "x");
        pane.selectAll();
        pane.insertPlainText(text);
        EXPECT_EQ(paneLines(&pane), lines) << text.toStdString();
    }
}

TEST(PaneText, ReplacingIsOneUndoStep) {
    QPlainTextEdit pane;
    setPaneLines(&pane, {"one", "two", "three"});
    EXPECT_FALSE(pane.document()->isUndoAvailable());
    replacePaneLines(&pane, {"two"});
    EXPECT_EQ(paneLines(&pane), Lines{"two"});
    pane.undo();
    EXPECT_EQ(paneLines(&pane), (Lines{"one", "two", "three"}));
    EXPECT_FALSE(pane.document()->isUndoAvailable());
}

}  // namespace
}  // namespace rostrix
