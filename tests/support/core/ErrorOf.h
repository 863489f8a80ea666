// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "platform/Error.h"

namespace rostrix::test {

// The text of the Error that action raises, or "<no error>".
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

}  // namespace rostrix::test
