// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace rostrix {

// Team files and archives hold Latin-1 bytes; what the user reads (message boxes, exported
// CSV) is UTF-8. Every byte value maps to its own character.
std::string latin1ToUtf8(std::string_view bytes);

}  // namespace rostrix
