// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>
#include <string>

namespace rostrix::test {

// A team file of the sample's size and shape with its own numbers: every digit of the
// sample replaced by one drawn from seed, so files differ as real teams do.
inline std::string teamFileVariant(const std::string& sample, unsigned seed) {
    std::mt19937 random(seed);
    std::string out = sample;
    for (char& c : out)
        if (c >= '0' && c <= '9') c = static_cast<char>('0' + random() % 10);
    return out;
}

}  // namespace rostrix::test
