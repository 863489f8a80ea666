// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "package/ZipArchive.h"
#include "platform/LineFile.h"
#include "support/core/TeamFileVariants.h"
#include "support/core/TempFolder.h"

namespace rostrix {
namespace {

using test::TempFolder;

struct Outcome {
    int exitCode;
    QString out;
};

Outcome run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {-1, QStringLiteral("did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAll())};
}

// What Python's zipfile makes of an archive: one line per member with its name, its
// compression method and the SHA-256 of its bytes.
constexpr const char* kListMembers = R"(
import hashlib, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        print(i.filename, i.compress_type, hashlib.sha256(z.read(i)).hexdigest())
)";

QString sha256(const std::string& bytes) {
    return QString::fromLatin1(
        QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
            .toHex());
}

TEST(ZipPeer, RealReadersSeeBareDeflatedNamesWithTheSourceBytes) {
    TempFolder src;
    TempFolder out;
    const std::string sample =
        readFileBytes(std::string(ROSTRIX_TEST_DATA) + "/sample-team.dat").value();
    std::vector<std::string> names;
    QStringList paths;
    QStringList expected;
    for (unsigned i = 0; i < 12; ++i) {
        const std::string name =
            (i == 0 ? std::string("27ALNYA.DAT") : "team" + std::to_string(i) + ".dat");
        const std::string bytes = i == 0 ? sample : test::teamFileVariant(sample, i);
        src.write(name, bytes);
        names.push_back(name);
        paths << QString::fromStdString(src.file(name));
        expected << QStringLiteral("%1 8 %2").arg(QString::fromStdString(name), sha256(bytes));
    }

    ZipArchive zip;
    std::vector<std::string> reports;
    zip.OnFailure = [&](const std::string& text) { reports.push_back(text); };
    zip.LoadZipLib();
    zip.setZipFileName(out.file("pack.zip"));
    for (const auto& n : names) zip.FSpecArgs.push_back(ZipArchive::AppendSlash(src.path()) + n);
    ASSERT_EQ(zip.Add(), 12);
    EXPECT_TRUE(reports.empty());
    const QString archive = QString::fromStdString(out.file("pack.zip"));

    const Outcome tested = run("unzip", {"-t", "-q", archive});
    EXPECT_EQ(tested.exitCode, 0) << tested.out.toStdString();

    out.write("list.py", kListMembers);
    const Outcome listed = run("python3", {QString::fromStdString(out.file("list.py")), archive});
    ASSERT_EQ(listed.exitCode, 0) << listed.out.toStdString();
    EXPECT_EQ(listed.out.trimmed().split('\n'), expected);

    // About the size the common zip tool makes of the same files at its best compression.
    const QString reference = QString::fromStdString(out.file("ref.zip"));
    const Outcome zipped = run("zip", QStringList{"-9", "-j", "-q", reference} + paths);
    ASSERT_EQ(zipped.exitCode, 0) << zipped.out.toStdString();
    const auto ours = std::filesystem::file_size(archive.toStdString());
    const auto theirs = std::filesystem::file_size(reference.toStdString());
    EXPECT_LE(static_cast<double>(ours), 1.01 * static_cast<double>(theirs))
        << ours << " bytes against zip's " << theirs;
}

}  // namespace
}  // namespace rostrix
