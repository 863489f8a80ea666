// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include "careers/CareerCsv.h"
#include "careers/CareerStats.h"
#include "platform/LineFile.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

// What Python's csv module reads from the file, strictly as UTF-8, as JSON rows.
constexpr const char* kReadCsv = R"(
import csv, json, sys
with open(sys.argv[1], encoding="utf-8", newline="") as f:
    print(json.dumps(list(csv.reader(f, strict=True))))
)";

TEST(CareerCsvPeer, PythonReadsTheHeaderEverySeasonAndTheTotals) {
    test::TempFolder dir;
    // A name with a comma, a quote and a Latin-1 letter; a damaged season.
    const std::string name = "O\"Brien, Zo\xEB";
    dir.write("player.dat",
              "[" + name +
                  "]\r\n"
                  "2000 Oakland     ==08 258  70  18   1   9  29  32  37 L   5  2  0  63 062-8\r\n"
                  "2001 Oakland     ==08 208  62  10   0   7  33  38  23 R   7  6  3  53 053-4 "
                  "011-D\r\n"
                  "2002 Oakland     ==08 2x8  70\r\n");
    const CareerArchive archive(dir.file("player.dat"));
    const auto seasons = archive.seasons(0);
    ASSERT_TRUE(writeFileAtomic(dir.file("career.csv"), careerCsv(name, seasons)));

    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(kReadCsv),
                                             QString::fromStdString(dir.file("career.csv"))});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();

    const auto& columns = careerColumns(CareerRole::Batter);
    ASSERT_EQ(rows.size(), 5);  // header, three seasons, totals
    QStringList header{"Player"};
    for (const auto& c : columns) header << QString::fromLatin1(c.title);
    header << "Problem";
    EXPECT_EQ(rows[0].toVariant().toStringList(), header);
    const CareerLine totals = careerTotals(seasons);
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList row = rows[r].toVariant().toStringList();
        ASSERT_EQ(row.size(), header.size()) << r;
        EXPECT_EQ(row[0], QStringLiteral("O\"Brien, Zo\u00EB"));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string expected =
                r <= 3 ? seasonCellText(seasons[std::size_t(r - 1)], c) : totalCellText(totals, c);
            EXPECT_EQ(row[int(c) + 1].toStdString(), expected) << r << " " << columns[c].title;
        }
    }
    EXPECT_EQ(rows[2].toVariant().toStringList()[18], "011-D");
    EXPECT_EQ(rows[3].toVariant().toStringList().last().toStdString(), seasons[2].problemSummary());
    EXPECT_EQ(rows[4].toVariant().toStringList()[1], "Career");
    EXPECT_EQ(rows[4].toVariant().toStringList()[4], "466");
    EXPECT_EQ(rows[4].toVariant().toStringList().last(),
              "1 season with a problem left out of the totals");
}

}  // namespace
}  // namespace rostrix
