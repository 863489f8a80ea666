// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace rostrix {

// An axis of round steps: from low to high, a tick every step.
struct AxisScale {
    double low;
    double high;
    double step;
};

// The axis over values from low to high with at most maxSteps steps of 1, 2 or 5 times a
// power of ten, never finer than smallest (1 for counts and years). Its ends are whole
// steps that take in low and high.
AxisScale roundScale(double low, double high, int maxSteps, double smallest);

}  // namespace rostrix
