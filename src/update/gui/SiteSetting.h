// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QWidget;

namespace rostrix {

// The update site the home folder's settings file names, else the built-in one. A value
// that is no site address is reported once over owner (again only when it changes), and
// the built-in site is used.
std::string updateSite(QWidget* owner);

}  // namespace rostrix
