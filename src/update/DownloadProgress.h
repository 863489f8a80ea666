// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace rostrix {

// The download window's progress bar runs from 0 to this.
inline constexpr int kProgressMax = 10000;

// "Status: <n>K of <m>K", kilobytes rounded up.
std::string downloadStatusText(long long received, long long total);

// The bar's position: received / total of kProgressMax, truncated; nothing when the
// total is unknown (the bar then shows that it is busy).
std::optional<int> downloadPosition(long long received, long long total);

// Whether a successful reply brought a whole archive: not empty, and not cut short of the
// length it announced.
bool downloadComplete(long long received, long long total);

// Whether a reply's status says it carries what was asked for: 200 to 299 only.
inline bool successStatus(int status) {
    return status >= 200 && status <= 299;
}

}  // namespace rostrix
