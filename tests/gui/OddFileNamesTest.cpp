// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <filesystem>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmZip.h"
#include "platform/LineFile.h"
#include "platform/gui/PaneText.h"
#include "platform/gui/QtDialogs.h"
#include "shell/tmHome.h"
#include "support/core/TempFolder.h"
#include "support/gui/ListTexts.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"

namespace rostrix {
namespace {

// A team file copied from an old Windows disk: its name is Latin-1, not UTF-8.
const std::string kOdd = "Jos\xe9.dat";
// How a dialog or list shows that name: the byte that is not UTF-8 as U+FFFD.
const QString kOddShown = QStringLiteral("Jos\uFFFD.dat");

std::string batter(const std::string& name) {
    return "00    08 " + (name + std::string(18, ' ')).substr(0, 18) +
           "258  70  18   1   9  29  32  37 L   5  2  0  63 062-8";
}
const std::string kTitle =
    "*A       W2000 Oakland      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P";
std::string team(const std::string& name) {
    return joinLinesCrlf({kTitle, batter(name)});
}

template <class T = QPushButton>
T* in(QWidget* form, const char* name) {
    T* c = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void checkRows(QListWidget* list, const QStringList& shown) {
    for (int i = 0; i < list->count(); ++i)
        if (shown.contains(list->item(i)->text())) list->item(i)->setCheckState(Qt::Checked);
}

// The program's windows in a home folder that holds a file whose name is not UTF-8, a
// plain one and a link to the plain one.
class OddFileNames : public ::testing::Test {
protected:
    OddFileNames() : home(true) {
        home.write("qrdTeams.ini", "[Settings]\r\nShow Menus=false\r\n");
        home.write(kOdd, team("Brisco, Dale"));
        home.write("b.dat", team("Halloran, Mickey"));
        std::filesystem::create_symlink("b.dat", home.file("link.dat"));
        createForms();
        Form1->show();
    }
    ~OddFileNames() override { destroyForms(); }

    test::TempFolder home;
};

// Fix Selected passes every checked file once, the odd name included, and says which
// entries it left out as second names of a file already passed.
TEST_F(OddFileNames, FixSelectedPassesEachFileOnceByItsOwnName) {
    test::ScriptedDialogs dlg;
    QString memo;
    dlg.answerModal([&](QWidget*) {
        auto* list = in<QListWidget>(Form5, "CheckListBox1");
        EXPECT_EQ(test::listTexts(list), QStringList({"b.dat", kOddShown, "link.dat"}));
        in<QCheckBox>(Form5, "CheckBox4")->click();  // Select All
        in(Form5, "Button5")->click();
        memo = Form5->Memo1()->toPlainText();
    });
    in(Form1, "Button2")->click();
    EXPECT_EQ(home.read(kOdd), team("Drisco, Bale"));
    EXPECT_EQ(home.read("b.dat"), team("Malloran, Hickey"));  // once, not back again
    EXPECT_TRUE(std::filesystem::is_symlink(home.file("link.dat")));
    EXPECT_EQ(memo, "Left out link.dat: the same file as b.dat.");
    EXPECT_EQ(dlg.asked.size(), 1u);
}

// Open and Go! in the names utility, and Open, Save and Save As in the editor, reach the
// file by the bytes the dialog hands back.
TEST_F(OddFileNames, TheWindowsUseThePathsTheDialogsHandBack) {
    test::ScriptedDialogs dlg;
    dlg.answerModal([&](QWidget*) {
        dlg.answerPath(home.file(kOdd));
        in(Form5, "Button3")->click();  // Open
        EXPECT_EQ(Form5->CurrentFile, home.file(kOdd));
        in(Form5, "Button1")->click();  // Go!
    });
    in(Form1, "Button2")->click();
    EXPECT_EQ(home.read(kOdd), team("Drisco, Bale"));

    std::filesystem::create_directory(home.file("Z\xfcrich"));
    std::string saved;
    dlg.answerModal([&](QWidget*) {
        dlg.answerPath(home.file(kOdd));
        in<QToolButton>(Form4, "ToolButton3")->click();  // Open
        EXPECT_EQ(Form4->CurrentFile, home.file(kOdd));
        EXPECT_EQ(Form4->windowTitle(), "Rostrix - " + kOddShown);
        EXPECT_EQ(paneLines(Form4->Memo1()).at(1), batter("Drisco, Bale"));
        Form4->Memo1()->appendPlainText("extra");
        saved = joinLinesCrlf(paneLines(Form4->Memo1()));
        EXPECT_TRUE(saved.ends_with("extra\r\n"));
        in<QToolButton>(Form4, "ToolButton4")->click();  // Save
        EXPECT_EQ(home.read(kOdd), saved);
        // Save As into a folder whose name is not UTF-8 either.
        home.write("Z\xfcrich/" + kOdd, "old");
        dlg.answerPath(home.file("Z\xfcrich/" + kOdd));
        dlg.answerButton(Yes);  // "... already exists.  Replace it?"
        in<QToolButton>(Form4, "ToolButton5")->click();
        EXPECT_EQ(Form4->CurrentFile, home.file("Z\xfcrich/" + kOdd));
    });
    in(Form1, "Button4")->click();
    EXPECT_EQ(home.read("Z\xfcrich/" + kOdd), saved);
    EXPECT_TRUE(dlg.allAnswered());
}

// The real chooser behind the editor's Open lists the odd name and opens that very file:
// the toolkit's own dialog would not list it at all.
TEST_F(OddFileNames, TheEditorsOpenListsTheFileAndOpensItsBytes) {
    struct RealFileDialogs : test::ScriptedDialogs {
        std::optional<std::string> openFile(QWidget* owner, const FileDialogSpec& dialog) override {
            return QtDialogs().openFile(owner, dialog);
        }
    } dlg;
    QStringList listed;
    dlg.answerModal([&](QWidget*) {
        QTimer::singleShot(0, [&] {
            QWidget* chooser = QApplication::activeModalWidget();
            ASSERT_EQ(chooser->objectName(), "FileChooser");
            auto* list = in<QTreeWidget>(chooser, "FileList");
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                listed << list->topLevelItem(i)->text(0);
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Home);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        });
        in<QToolButton>(Form4, "ToolButton3")->click();  // Open
    });
    in(Form1, "Button4")->click();
    EXPECT_EQ(listed, QStringList({"b.dat", kOddShown, "link.dat"}));
    EXPECT_EQ(Form4->CurrentFile, home.file(kOdd));
    EXPECT_EQ(paneLines(Form4->Memo1()).at(1), batter("Brisco, Dale"));
}

// The package window packs the file it listed under the name's own bytes; every file
// chosen reaches the package.
TEST_F(OddFileNames, ThePackageHoldsTheRawName) {
    test::ScriptedDialogs dlg;
    dlg.answerModal([&](QWidget*) {
        auto* left = in<QListWidget>(Form7, "CheckListBox1");
        checkRows(left, {"b.dat", kOddShown});
        in(Form7, "Button4")->click();  // <-- Add -->
        EXPECT_EQ(test::listTexts(in<QListWidget>(Form7, "CheckListBox2")),
                  QStringList({"b.dat", kOddShown}));
        dlg.answerPath(QString::fromStdString(home.file("pack.zip")));
        in(Form7, "Button6")->click();  // Set Filename
        dlg.answerButton(Ok);           // "Done! 2 files were added"
        in(Form7, "Button5")->click();  // Zip File
        EXPECT_EQ(dlg.asked.back().text, "Done!\n2 files were added");
    });
    in(Form1, "Button8")->click();
    QProcess unzip;
    unzip.start("unzip", {"-Z1", QString::fromStdString(home.file("pack.zip"))});
    ASSERT_TRUE(unzip.waitForFinished(60000));
    EXPECT_EQ(unzip.readAllStandardOutput().toStdString(), "b.dat\n" + kOdd + "\n");
}

// A home folder whose own name is not UTF-8: the settings file, archive.dat and
// player.dat are all written there.
TEST(OddHomeFolder, ArchivesAndSettingsAreWrittenThere) {
    test::TempFolder top;
    const std::string home = top.file("Z\xfcrich");
    std::filesystem::create_directory(home);
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(home);
    writeFileAtomic(home + "/27ALnya.dat", team("Brisco, Dale"));
    test::ScriptedDialogs dlg;
    createForms();
    Form1->show();
    EXPECT_TRUE(dlg.asked.empty());  // no "Unable to write to"
    in<QLineEdit>(Form1, "Edit2")->setText("27ALnya");
    dlg.answerModal([&](QWidget*) {
        dlg.answerButton(Ok);  // "Done!"
        in<QToolButton>(Form4, "ToolButton28")->click();
        dlg.answerModal([&](QWidget*) { in(Form3, "Button1")->click(); });
        in<QToolButton>(Form4, "ToolButton29")->click();
    });
    in<QPushButton>(Form1, "Button4")->click();
    destroyForms();
    std::filesystem::current_path(saved);
    EXPECT_NE(readFileBytes(home + "/qrdTeams.ini").value_or("").find("Home=" + home),
              std::string::npos);
    EXPECT_NE(readFileBytes(home + "/archive.dat").value_or("").find("[" + home + "/27ALnya.dat]"),
              std::string::npos);
    EXPECT_NE(readFileBytes(home + "/player.dat").value_or("").find("[Brisco, Dale"),
              std::string::npos);
}

}  // namespace
}  // namespace rostrix
