// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <optional>

#include "package/tmZip.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"

namespace rostrix {
namespace {

using test::ScriptedDialogs;
using test::TempFolder;

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void check(QListWidget* list, std::initializer_list<int> rows) {
    for (int row : rows) list->item(row)->setCheckState(Qt::Checked);
}

// The package window created in a temporary folder of team files, as at start-up.
class ZipWindow : public ::testing::Test {
protected:
    ZipWindow() : dat(true) {
        for (const char* name : {"b.dat", "A.dat", "c.DAT"}) dat.write(name, name);
        std::filesystem::create_directory(dat.file("Old"));
        TForm7::PackageFolder.clear();
        form = std::make_unique<TForm7>();
    }

    template <class T = QPushButton>
    T* control(const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QLabel* nameLabel() { return control<QLabel>("Label2"); }
    QString dir() const { return QString::fromStdString(dat.path()); }
    // "Set Filename" answered with path (and the overwrite question, when asked).
    void setFilename(ScriptedDialogs& dlg, const std::string& path,
                     std::optional<int> overwrite = {}) {
        dlg.answerPath(QString::fromStdString(path));
        if (overwrite) dlg.answerButton(*overwrite);
        control("Button6")->click();
    }
    // Puts rows of the left list on the right.
    void pick(std::initializer_list<int> rows) {
        check(form->CheckListBox1(), rows);
        control("Button4")->click();
        for (int i = 0; i < form->CheckListBox1()->count(); ++i)
            form->CheckListBox1()->item(i)->setCheckState(Qt::Unchecked);
    }

    TempFolder dat;
    std::unique_ptr<TForm7> form;
};

TEST_F(ZipWindow, ListsTheFolderAndChangeRelistsEvenWhenCancelled) {
    EXPECT_EQ(control<QLabel>("Label4")->text(), dir());
    EXPECT_EQ(texts(form->CheckListBox1()), (QStringList{"A.dat", "b.dat", "c.DAT", "Old"}));
    pick({0});

    ScriptedDialogs dlg;
    dat.write("new.dat", "n");
    dlg.answerPath(std::nullopt);
    control("Button1")->click();
    EXPECT_EQ(dlg.asked.back().title, "Select Your .DAT Folder:");
    EXPECT_EQ(texts(form->CheckListBox1()),
              (QStringList{"A.dat", "b.dat", "c.DAT", "new.dat", "Old"}));

    TempFolder other;
    other.write("z.dat", "z");
    dlg.answerPath(QString::fromStdString(other.path()));
    control("Button1")->click();
    EXPECT_EQ(control<QLabel>("Label4")->text().toStdString(), other.path());
    EXPECT_EQ(texts(form->CheckListBox1()), QStringList{"z.dat"});
    // Names picked from the first folder stay on the right.
    EXPECT_EQ(texts(form->CheckListBox2()), QStringList{"A.dat"});
}

TEST_F(ZipWindow, AddCopiesCheckedEntriesAndRemoveTakesEveryCheckedOne) {
    pick({0, 2});
    pick({0});
    EXPECT_EQ(texts(form->CheckListBox2()), (QStringList{"A.dat", "c.DAT", "A.dat"}));
    pick({1, 3});
    check(form->CheckListBox2(), {1, 2, 3});
    control("Button3")->click();
    EXPECT_EQ(texts(form->CheckListBox2()), (QStringList{"A.dat", "Old"}));
    control("Button2")->click();
    EXPECT_EQ(form->CheckListBox2()->count(), 0);
    EXPECT_EQ(form->CheckListBox1()->count(), 4);
}

TEST_F(ZipWindow, ZipFileChecksForANameThenForFiles) {
    ScriptedDialogs dlg;
    pick({0});
    dlg.answerButton(Ok);
    control("Button5")->click();
    setFilename(dlg, dat.file("pack.zip"));
    control("Button2")->click();
    dlg.answerButton(Ok);
    control("Button5")->click();
    ASSERT_EQ(dlg.asked.size(), 3u);
    EXPECT_EQ(dlg.asked[0].text, "You need to set a file name first.");
    EXPECT_EQ(dlg.asked[2].text, "You need to select some files to zip.");
    EXPECT_FALSE(dat.exists("pack.zip"));
}

TEST_F(ZipWindow, SetFilenameAsksBeforeOverwritingAndRemembersTheFolder) {
    TempFolder packs;
    packs.write("old.zip", "old");
    ScriptedDialogs dlg;
    setFilename(dlg, dat.file("first.zip"));
    EXPECT_EQ(dlg.asked[0].file.title, "Create A New Team Pack ZIP File");
    EXPECT_EQ(dlg.asked[0].file.filter, "ZIP Files|*.zip");
    EXPECT_EQ(dlg.asked[0].file.initialDir, dir());
    EXPECT_TRUE(dlg.asked[0].file.fileName.isEmpty());

    // No: the name stays, but the refused file's folder is where the dialog opens next.
    setFilename(dlg, packs.file("old.zip"), No);
    EXPECT_EQ(dlg.asked[2].text.toStdString(),
              "Overwrite Existing File: " + packs.file("old.zip") + "?");
    EXPECT_EQ(dlg.asked[2].buttons, Yes | No);
    EXPECT_EQ(nameLabel()->text().toStdString(), dat.file("first.zip"));
    EXPECT_EQ(form->ZipArchive1.ZipFileName(), dat.file("first.zip"));
    EXPECT_TRUE(packs.exists("old.zip"));

    // Cancel changes nothing; Yes takes the name, and the old file stays until a Zip File
    // replaces it.
    dlg.answerPath(std::nullopt);
    control("Button6")->click();
    EXPECT_EQ(dlg.asked[3].file.initialDir.toStdString(), packs.path());
    setFilename(dlg, packs.file("old.zip"), Yes);
    EXPECT_EQ(packs.read("old.zip"), "old");
    EXPECT_EQ(form->ZipArchive1.ZipFileName(), packs.file("old.zip"));
}

// "Overwrite" answered Yes: a Zip File that fails leaves the old package; the first one
// that works replaces it with a package of the files to zip alone, and later ones add.
TEST_F(ZipWindow, AnOverwrittenPackageGoesOnlyWhenTheNewOneIsComplete) {
    ScriptedDialogs dlg;
    TempFolder packs;
    setFilename(dlg, packs.file("pack.zip"));
    pick({0});
    dlg.answerButton(Ok);
    control("Button5")->click();
    const std::string old = packs.read("pack.zip");

    setFilename(dlg, packs.file("pack.zip"), Yes);
    control("Button2")->click();
    pick({1});
    form->ZipArchive1.Pump = [&] { std::filesystem::remove(dat.file("b.dat")); };
    dlg.answerButton(Ok);
    control("Button5")->click();
    EXPECT_TRUE(dlg.asked.back().text.startsWith("Cannot write the ZIP file"));
    EXPECT_EQ(packs.read("pack.zip"), old);

    form->ZipArchive1.Pump = nullptr;
    dat.write("b.dat", "b.dat");
    const struct {
        int row;
        std::vector<std::string> entries;
    } steps[] = {{1, {"b.dat"}}, {2, {"b.dat", "c.DAT"}}};
    for (const auto& step : steps) {
        control("Button2")->click();
        pick({step.row});
        dlg.answerButton(Ok);
        control("Button5")->click();
        EXPECT_EQ(dlg.asked.back().text, "Done!\n1 file was added");
        ZipArchive reread;
        reread.setZipFileName(packs.file("pack.zip"));
        EXPECT_EQ(reread.entries(), step.entries);
    }
}

TEST_F(ZipWindow, ALongNameIsShortenedWithItsFullTextAsHint) {
    ScriptedDialogs dlg;
    std::string deep = dat.path();
    for (int i = 0; i < 30; ++i) deep += "/league-folder-" + std::to_string(i);
    setFilename(dlg, deep + "/27ALnya-pack.zip");
    const QString shown = nameLabel()->text();
    EXPECT_TRUE(shown.contains("...")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("/27ALnya-pack.zip")) << shown.toStdString();
    EXPECT_LE(nameLabel()->fontMetrics().horizontalAdvance(shown), nameLabel()->width());
    EXPECT_EQ(nameLabel()->toolTip().toStdString(), deep + "/27ALnya-pack.zip");

    setFilename(dlg, dat.file("p.zip"));
    EXPECT_EQ(nameLabel()->text().toStdString(), dat.file("p.zip"));
    EXPECT_TRUE(nameLabel()->toolTip().isEmpty());
}

TEST_F(ZipWindow, ZipFileReportsTheCountWithTheButtonsOffMeanwhile) {
    ScriptedDialogs dlg;
    TempFolder packs;
    setFilename(dlg, packs.file("pack.zip"));
    std::vector<std::pair<bool, bool>> during;  // group enabled, Send Team enabled
    form->ZipArchive1.Pump = [&] {
        bool any = false;
        for (const char* b : {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6"})
            any = any || control(b)->isEnabled();
        during.emplace_back(any, control("Button7")->isEnabled());
    };
    struct Case {
        std::vector<int> rows;  // picked one at a time
        std::string result;
    };
    // A; A, c and A again (one entry for A); a sub-folder is named as left out, never unsaid.
    const std::string folder = "\n\nNot added:\nCannot read " + dat.file("Old: Is a directory");
    const Case cases[] = {{{0}, "Done!\n1 file was added"},
                          {{0, 2, 0}, "Done!\n2 files were added"},
                          {{3}, "Done!\n0 files were added" + folder},
                          {{3, 0}, "Done!\n1 file was added" + folder}};
    for (const auto& c : cases) {
        control("Button2")->click();
        for (int row : c.rows) pick({row});
        during.clear();
        dlg.answerButton(Ok);
        control("Button5")->click();
        EXPECT_EQ(dlg.asked.back().text.toStdString(), c.result);
        // The archive is written with the group off and "Send Team" on.
        EXPECT_EQ(during.empty(), form->ZipArchive1.count() == 0) << c.result;
        for (const auto& [group, send] : during) {
            EXPECT_FALSE(group) << c.result;
            EXPECT_TRUE(send) << c.result;
        }
        for (const char* b : {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6"})
            EXPECT_TRUE(control(b)->isEnabled()) << b;
        EXPECT_EQ(form->CheckListBox2()->count(), static_cast<int>(c.rows.size()));
    }
    form->ZipArchive1.setZipFileName(form->ZipArchive1.ZipFileName());
    EXPECT_EQ(form->ZipArchive1.entries(), (std::vector<std::string>{"A.dat", "c.DAT"}));
}

// The component's own report is the whole answer: no count of zero follows it. A pipe
// under the package's name is named, never opened.
TEST_F(ZipWindow, TheComponentsOwnReportIsTheWholeAnswer) {
    TempFolder packs;
    ASSERT_EQ(mkfifo(packs.file("pipe.zip").c_str(), 0600), 0);
    const struct {
        std::string zip;
        QString report;
        std::optional<int> overwrite;
    } cases[] = {{packs.file("gone/pack.zip"), "Cannot write the ZIP file", {}},  // no folder
                 {packs.file("pipe.zip"),
                  QString::fromStdString(packs.file("pipe.zip")) + " is not a regular file", Yes}};
    for (const auto& c : cases) {
        ScriptedDialogs dlg;
        setFilename(dlg, c.zip, c.overwrite);
        control("Button2")->click();
        pick({0});
        dlg.answerButton(Ok);
        control("Button5")->click();
        ASSERT_EQ(dlg.asked.size(), c.overwrite ? 3u : 2u) << c.zip;
        EXPECT_TRUE(dlg.asked.back().text.startsWith(c.report))
            << dlg.asked.back().text.toStdString();
    }
}

}  // namespace
}  // namespace rostrix
