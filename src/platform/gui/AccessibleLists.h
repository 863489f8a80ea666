// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;
class QString;

namespace rostrix {

// A drop-down list that screen readers know by its accessible name ("League") whatever is
// chosen, with the chosen item as its value. Qt on Linux otherwise speaks the chosen item
// as the name and leaves the list's own name to a label relation that not every reader
// follows.
void keepAccessibleName(QComboBox* box, const QString& name);

}  // namespace rostrix
