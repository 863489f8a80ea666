// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/WindowState.h"

namespace rostrix {
namespace {

TEST(WindowState, TheStateFileIsTheDesktopsAndOnlyASoundPlaceOnThisScreenIsTrusted) {
    EXPECT_EQ(stateFolder("/x/state", "/home/u"), "/x/state/rostrix");
    EXPECT_EQ(stateFolder("", "/home/u"), "/home/u/.local/state/rostrix");
    EXPECT_EQ(stateFolder("relative/state", "/home/u"), "/home/u/.local/state/rostrix");
    EXPECT_EQ(stateFolder(nullptr, nullptr), "");

    const QRect screen(0, 0, 1400, 870);
    const QRect right(1400, 0, 1280, 1024);
    const WindowPlace editor{{120, 80, 795, 425}, false};
    EXPECT_EQ(placeText(editor, screen), "120 80 795 425 on 0 0 1400 870");
    struct Case {
        const char* text;
        std::optional<WindowPlace> place;
    };
    const Case cases[] = {
        {"120 80 795 425 on 0 0 1400 870", editor},
        {"1500 40 600 400 on 1400 0 1280 1024 maximized", WindowPlace{{1500, 40, 600, 400}, true}},
        // Damaged.
        {"", std::nullopt},
        {"120 80 795 on 0 0 1400 870", std::nullopt},
        {"120 80 -795 425 on 0 0 1400 870", std::nullopt},
        {"120 80 795 425 at 0 0 1400 870", std::nullopt},
        {"120 80 795 425 on 0 0 1400 870 minimized", std::nullopt},
        {"120 80 795 425 on 0 0 1400 870 maximized twice", std::nullopt},
        {"120 80 795 99999999999 on 0 0 1400 870", std::nullopt},
        {"\xff\xfe garbage", std::nullopt},
        // From a screen this desktop does not have now.
        {"120 80 795 425 on 0 0 1920 1080", std::nullopt},
        // Off the screen it names, wholly or in part.
        {"1300 80 795 425 on 0 0 1400 870", std::nullopt},
        {"-5000 80 795 425 on 0 0 1400 870", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(savedPlace(c.text, {screen, right}), c.place) << c.text;
}

}  // namespace
}  // namespace rostrix
