// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace rostrix {

AxisScale roundScale(double low, double high, int maxSteps, double smallest) {
    if (high < low) std::swap(low, high);
    const double rough = std::max((high - low) / std::max(maxSteps, 1), smallest);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough * (1 - 1e-9)) {
            step = m * power;
            break;
        }
    // A tiny margin keeps a value that is a whole step (up to rounding) on its tick.
    const double first = std::floor(low / step + 1e-9) * step;
    double last = std::ceil(high / step - 1e-9) * step;
    if (last <= first) last = first + step;
    return {first, last, step};
}

}  // namespace rostrix
