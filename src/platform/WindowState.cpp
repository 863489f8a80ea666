// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowState.h"

#include <algorithm>
#include <sstream>

namespace rostrix {

namespace {

// Larger than any screen: a value past it is not a place but damage.
constexpr int kLargest = 100000;

bool sane(const QRect& r) {
    const auto within = [](int v) { return v > -kLargest && v < kLargest; };
    return r.width() > 0 && r.height() > 0 && r.width() < kLargest && r.height() < kLargest &&
           within(r.x()) && within(r.y());
}

std::string rectText(const QRect& r) {
    return std::to_string(r.x()) + " " + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           " " + std::to_string(r.height());
}

bool readRect(std::istringstream& in, QRect& r) {
    int x = 0, y = 0, w = 0, h = 0;
    if (!(in >> x >> y >> w >> h)) return false;
    r = QRect(x, y, w, h);
    return sane(r);
}

}  // namespace

std::string stateFolder(const char* xdgStateHome, const char* home) {
    if (xdgStateHome && xdgStateHome[0] == '/') return std::string(xdgStateHome) + "/rostrix";
    if (home && home[0] == '/') return std::string(home) + "/.local/state/rostrix";
    return {};
}

std::string placeText(const WindowPlace& place, const QRect& screen) {
    return rectText(place.client) + " on " + rectText(screen) +
           (place.maximized ? " maximized" : "");
}

std::optional<WindowPlace> savedPlace(const std::string& text, const std::vector<QRect>& screens) {
    std::istringstream in(text);
    WindowPlace place;
    QRect screen;
    std::string on, rest;
    if (!readRect(in, place.client) || !(in >> on) || on != "on" || !readRect(in, screen))
        return std::nullopt;
    if (in >> rest) {
        if (rest != "maximized") return std::nullopt;
        place.maximized = true;
        if (in >> rest) return std::nullopt;
    }
    if (std::find(screens.begin(), screens.end(), screen) == screens.end() ||
        !screen.contains(place.client))
        return std::nullopt;
    return place;
}

}  // namespace rostrix
