// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/gui/GlobalForms.h"

namespace rostrix {

// Creates the windows in their fixed order. Tests create them the same way.
void createForms();
// Destroys them in the reverse order and clears the globals.
void destroyForms();

}  // namespace rostrix
