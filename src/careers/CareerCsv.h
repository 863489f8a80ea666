// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "careers/CareerArchive.h"

namespace rostrix {

// A career as a spreadsheet reads it (RFC 4180, UTF-8, CR LF): a header row of "Player",
// the seasons table's titles and "Problem", one row per season entry with the texts the
// table shows, and the career totals last.
std::string careerCsv(std::string_view name, const std::vector<SeasonEntry>& seasons);

// The name offered for a player's export: "Able, Abe" gives "Able_Abe.csv", no character
// a file name could trip over.
QString careerCsvFileName(const QString& name);

}  // namespace rostrix
