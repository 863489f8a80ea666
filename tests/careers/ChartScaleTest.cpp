// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "careers/ChartScale.h"

namespace rostrix {
namespace {

TEST(ChartScale, StepsAreOneTwoOrFiveTimesAPowerOfTenAndTheEndsWholeSteps) {
    struct Case {
        double low, high;
        int maxSteps;
        double smallest;
        AxisScale want;
    };
    const Case cases[] = {
        {0, 125, 8, 1, {0, 140, 20}},          // not 0/31/62/94/125
        {0, 0.745, 8, 0.001, {0, 0.8, 0.1}},   // a rate
        {0, 3, 8, 1, {0, 3, 1}},               // counts never step by less than one
        {0, 0, 8, 1, {0, 1, 1}},               // one value still makes an axis
        {1999, 2011, 10, 1, {1998, 2012, 2}},  // years
        {-12, 38, 5, 1, {-20, 40, 10}},
    };
    for (const Case& c : cases) {
        const AxisScale got = roundScale(c.low, c.high, c.maxSteps, c.smallest);
        EXPECT_NEAR(got.low, c.want.low, 1e-9) << c.low << ".." << c.high;
        EXPECT_NEAR(got.high, c.want.high, 1e-9) << c.low << ".." << c.high;
        EXPECT_NEAR(got.step, c.want.step, 1e-9) << c.low << ".." << c.high;
    }
}

}  // namespace
}  // namespace rostrix
