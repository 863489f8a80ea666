// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/DownloadProgress.h"

#include <algorithm>

namespace rostrix {

namespace {
long long kilobytesUp(long long bytes) {
    return (bytes + 1023) / 1024;
}
}  // namespace

std::string downloadStatusText(long long received, long long total) {
    return "Status: " + std::to_string(kilobytesUp(received)) + "K of " +
           std::to_string(kilobytesUp(total)) + "K";
}

std::optional<int> downloadPosition(long long received, long long total) {
    if (total <= 0) return std::nullopt;
    const double position =
        static_cast<double>(received) / static_cast<double>(total) * kProgressMax;
    // A server sending more than it announced keeps the bar full, not out of range.
    return static_cast<int>(std::min(position, static_cast<double>(kProgressMax)));
}

bool downloadComplete(long long received, long long total) {
    return received > 0 && (total <= 0 || received >= total);
}

}  // namespace rostrix
