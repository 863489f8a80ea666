// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <optional>
#include <string>
#include <vector>

namespace rostrix {

// The folder that keeps what the program remembers of its windows between runs, the
// desktop's place for such state: $XDG_STATE_HOME/rostrix, else ~/.local/state/rostrix.
// An XDG_STATE_HOME that is empty or not an absolute path is ignored, as the desktop's
// rules say; "" when neither gives a folder.
std::string stateFolder(const char* xdgStateHome, const char* home);

// A window's place on the screen: its client area (frame not included), as it is when not
// maximised, and whether it was maximised.
struct WindowPlace {
    QRect client;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

// The place as the state file keeps it, with the free area of the screen it was on:
// "120 80 795 425 on 0 0 1400 870", " maximized" after it when it was.
std::string placeText(const WindowPlace& place, const QRect& screen);

// The place such a text keeps, or nothing when the text is damaged, when none of the
// desktop's screens has that free area now (another screen, another resolution), or when
// the window would not lie wholly on it.
std::optional<WindowPlace> savedPlace(const std::string& text, const std::vector<QRect>& screens);

}  // namespace rostrix
