// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QSplitter;
class QTableView;

namespace rostrix {

// Careers opens as it was left last time, in this run or an earlier one: where the splitter
// between the players and the seasons stood and which columns of the seasons and the
// leaders were hidden. Kept each time the window is hidden.
void keepCareersLayout(QSplitter* splitter, QTableView* seasons, QTableView* leaders);

}  // namespace rostrix
