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

}  // namespace
}  // namespace rostrix
