// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/WindowPlacement.h"

namespace rostrix {
namespace {

TEST(WindowPlacement, AWindowStaysOnItsScreen) {
    struct Case {
        const char* what;
        QRect window;
        QRect screen;
        QPoint placed;
    };
    const QRect screen(0, 0, 1280, 1024);
    const QRect right(1280, 0, 1024, 768);  // a second screen to the right of the first
    const Case cases[] = {
        {"fits where it is", {100, 200, 795, 425}, screen, {100, 200}},
        {"off the left and top", {-50, -10, 300, 200}, screen, {0, 0}},
        {"off the right and bottom", {1200, 1000, 300, 200}, screen, {980, 824}},
        {"exactly the screen", {0, 0, 1280, 1024}, screen, {0, 0}},
        // The editor at scale 2 centred over the main window: left edge at -79.
        {"wider than the screen", {-79, 300, 1590, 850}, screen, {0, 174}},
        {"larger both ways", {-200, -300, 2000, 1500}, screen, {0, 0}},
        {"on a screen that does not start at 0", {1200, 700, 400, 200}, right, {1280, 568}},
        {"wider than a screen that does not start at 0",
         {1100, 100, 1100, 300},
         right,
         {1280, 100}},
        {"no screen known", {-79, 300, 1590, 850}, QRect(), {-79, 300}},
    };
    for (const Case& c : cases) EXPECT_EQ(placeOnScreen(c.window, c.screen), c.placed) << c.what;
}

// A window wider or taller than the screen's free area opens at the largest size that fits,
// frame included, and wholly on the screen.
TEST(WindowPlacement, AWindowFitsTheScreenItOpensOn) {
    struct Case {
        const char* what;
        QRect client;  // wanted: where and how large, frame not included
        QRect screen;
        QRect fitted;
    };
    const QMargins frame(1, 24, 1, 1);
    // 1400 x 900 at scale factor 2, with a panel of 15 at the top.
    const QRect scaled(0, 15, 700, 435);
    const Case cases[] = {
        {"fits", {100, 200, 795, 425}, {0, 0, 1280, 1024}, {100, 200, 795, 425}},
        {"the editor at scale 2", {-47, 20, 795, 425}, scaled, {1, 39, 698, 410}},
        {"Careers at scale 2", {-170, -100, 1040, 660}, scaled, {1, 39, 698, 410}},
        {"only too tall: keeps its width and its centre across",
         {100, 10, 300, 500},
         scaled,
         {100, 39, 300, 410}},
        {"only too wide, low on the screen", {-50, 300, 800, 100}, scaled, {1, 300, 698, 100}},
        {"exactly the free area", {1, 39, 698, 410}, scaled, {1, 39, 698, 410}},
        {"on a second screen",
         {1500, 100, 1200, 300},
         {1280, 0, 1024, 768},
         {1281, 100, 1022, 300}},
        {"no screen known", {-79, 300, 1590, 850}, QRect(), {-79, 300, 1590, 850}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitOnScreen(c.client, frame, c.screen), c.fitted) << c.what;
}

}  // namespace
}  // namespace rostrix
