// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <filesystem>

#include "platform/gui/FileChooser.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/QtDialogs.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"

namespace rostrix {
namespace {

using Mode = FileChooser::Mode;

QStringList shownColumn(FileChooser& chooser, int column = 0) {
    auto* list = chooser.findChild<QTreeWidget*>("FileList");
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

// What a user does in the chooser, by keyboard only.
struct Step {
    // Complete: typed key by key, then the first completion offered is taken.
    enum { Type, Key, PickType, Complete, SortBy } what;
    QString text{};  // Type, Complete: into the name box; PickType: the entry of the type box
    Qt::Key key = Qt::Key_Return;  // SortBy: the column, as a number
    const char* at = "NameEdit";  // Key: the widget that has the focus
};

Step key(Qt::Key k, const char* at = "FileList") {
    return Step{Step::Key, {}, k, at};
}
Step type(const QString& text) {
    return Step{Step::Type, text};
}

// Shows the chooser as the active window, as the desktop would.
bool showActive(FileChooser& chooser) {
    chooser.show();
    QApplication::setActiveWindow(&chooser);
    return QTest::qWaitForWindowActive(&chooser);
}

void run(FileChooser& chooser, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        if (s.what == Step::PickType) {
            auto* box = chooser.findChild<QComboBox*>("FileType");
            box->setCurrentIndex(box->findText(s.text));
            continue;
        }
        auto* name = chooser.findChild<QLineEdit*>("NameEdit");
        if (s.what == Step::Complete) {
            name->setFocus();
            QTest::keyClicks(name, s.text);
            QWidget* popup = name->completer()->popup();
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
            continue;
        }
        if (s.what == Step::SortBy) {
            QHeaderView* header = chooser.findChild<QTreeWidget*>("FileList")->header();
            const int x = header->sectionViewportPosition(s.key) + 4;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 4));
            continue;
        }
        QWidget* target = s.what == Step::Type ? name : chooser.findChild<QWidget*>(s.at);
        target->setFocus();
        if (s.what == Step::Type) {
            name->setText(s.text);
            QTest::keyClick(name, Qt::Key_Return);
        } else {
            QTest::keyClick(target, s.key);
        }
    }
}

// The chooser in every mode, driven as a user would: what it lists, where Enter takes
// it, what it asks, and the file or folder it hands back, by the bytes on disk.
TEST(FileChooser, ListsOpensSavesAndChoosesByTheBytesOnDisk) {
    test::TempFolder dir;
    for (const char* name : {"Jos\xe9.dat", "a.ser", "notes.txt"}) dir.write(name, "x");
    dir.write("b.dat", "xyz");
    std::filesystem::create_directory(dir.file("Leagues"));
    dir.write("Leagues/l.dat", "x");
    dir.write("Leagues/l.ser", "x");
    const QString odd = QStringLiteral("Jos\uFFFD.dat");
    const QString root = QString::fromStdString(dir.path());
    const FileDialogSpec open{
        "Open Team File", "dat", "QRD Team Files|*.dat|QRD Series Files|*.ser", root, "", true};
    FileDialogSpec save{"Save Team File", "dat", "QRD Team Files|*.dat", root, "", true};
    FileDialogSpec quietSave = save;
    quietSave.confirmOverwrite = false;
    struct Case {
        const char* what;
        Mode mode;
        FileDialogSpec dialog;
        std::vector<Step> steps;
        std::vector<int> answers;  // buttons for the boxes the chooser asks
        std::string chosen;        // empty: nothing chosen yet
        QStringList listed;
        std::vector<QString> asked{};
        bool remembered = false;  // the dialog opens as the case before left it
        QString sizes{};          // the size column, where it matters
    };
    const QStringList top = {"Leagues", "b.dat", odd};
    const QString replace = "b.dat already exists.\nDo you want to replace it?";
    const FileDialogSpec folder{"Select Your .DAT Folder:", "", "", "", "", true};
    // clang-format off
    const Case cases[] = {
        {"odd name listed, picked from the list", Mode::Open, open,
         {key(Qt::Key_End), key(Qt::Key_Return)}, {}, dir.file("Jos\xe9.dat"), top},
        {"Enter on a folder goes in, Backspace comes back", Mode::Open, open,
         {key(Qt::Key_Home), key(Qt::Key_Return), key(Qt::Key_Backspace), type("Leagues")}, {},
         "", {"l.dat"}},
        {"opens where it was left", Mode::Open, open, {}, {}, "", {"l.dat"}, {}, true},
        {"a typed pattern stays in its folder", Mode::Open, open,
         {type("Leagues"), type("*.ser"), key(Qt::Key_Backspace)}, {}, "", top},
        {"a typed pattern goes with its text", Mode::Open, open,
         {type("*.ser"), key(Qt::Key_Backspace, "NameEdit")}, {}, "", top},
        {"a typed name completes", Mode::Open, open, {{Step::Complete, "jo"}, key(Qt::Key_Return,
         "NameEdit")}, {}, dir.file("Jos\xe9.dat"), top},
        {"sorted by size", Mode::Open, open, {{Step::SortBy, {}, Qt::Key(1)}}, {}, "",
         {"Leagues", odd, "b.dat"}, {}, false, "|1 byte|3 bytes"},
        {"other type and a typed pattern", Mode::Open, open,
         {{Step::PickType, "QRD Series Files (*.ser)"}, type("*.t?t")}, {}, "",
         {"Leagues", "notes.txt"}},
        {"missing file", Mode::Open, open, {type("gone")}, {Ok}, "", top,
         {QString::fromStdString(dir.file("gone.dat")) +
          "\nFile not found.\nCheck the file name and try again."}},
        {"replace answered No", Mode::Save, save, {type("b")}, {No}, "", top, {replace}},
        {"replace answered Yes", Mode::Save, save, {type("b.dat")}, {Yes}, dir.file("b.dat"), top,
         {replace}},
        {"caller asks itself", Mode::Save, quietSave, {type(odd)}, {}, dir.file("Jos\xe9.dat"),
         top},
        {"new file gets the suffix", Mode::Save, save, {type("new")}, {}, dir.file("new.dat"), top},
        {"no such folder", Mode::Save, save, {type("nowhere/x")}, {Ok}, "", top,
         {"The folder " + root + "/nowhere does not exist."}},
        {"folder picked from the list", Mode::Folder, folder,
         {key(Qt::Key_Home), key(Qt::Key_Space, "AcceptButton")}, {}, dir.file("Leagues"),
         {"Leagues"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        if (!c.remembered) FileChooser::forgetFolders();
        test::ScriptedDialogs dlg;
        for (int b : c.answers) dlg.answerButton(b);
        FileChooser chooser(nullptr, c.mode, c.dialog);
        if (c.mode == Mode::Folder) chooser.showFolder(dir.path());
        ASSERT_TRUE(showActive(chooser)) << c.what;
        run(chooser, c.steps);
        EXPECT_EQ(chooser.result() == QDialog::Accepted, !c.chosen.empty()) << c.what;
        EXPECT_EQ(chooser.chosenBytes(), c.chosen) << c.what;
        EXPECT_EQ(shownColumn(chooser).join('|'), c.listed.join('|')) << c.what;
        if (!c.sizes.isEmpty()) {
            EXPECT_EQ(shownColumn(chooser, 1).join('|'), c.sizes) << c.what;
        }
        ASSERT_EQ(dlg.asked.size(), c.asked.size()) << c.what;
        for (std::size_t i = 0; i < c.asked.size(); ++i)
            EXPECT_EQ(dlg.asked[i].text, c.asked[i]) << c.what;
    }
}

// A folder that went away after it was listed is not entered: the chooser says why and
// stays where it was.
TEST(FileChooser, AFolderThatCannotBeReadIsNotEntered) {
    test::TempFolder dir;
    std::filesystem::create_directory(dir.file("Leagues"));
    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);
    FileChooser chooser(nullptr, Mode::Folder, {"Select Your .DAT Folder:", "", "", "", "", true});
    chooser.showFolder(dir.path());
    ASSERT_TRUE(showActive(chooser));
    std::filesystem::remove(dir.file("Leagues"));
    run(chooser, {key(Qt::Key_Home), key(Qt::Key_Return)});
    EXPECT_EQ(chooser.folder(), dir.path());
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].text,
              QString::fromStdString("Cannot open the folder " + dir.file("Leagues") +
                                     ": No such file or directory"));
}

// Two names that differ only in a byte that is not UTF-8 show alike; the one picked is
// the one the caller gets.
TEST(FileChooser, NamesThatShowAlikeAreToldApartByTheirBytes) {
    test::TempFolder dir;
    dir.write("M\xfcller.dat", "u");
    dir.write("M\xfdller.dat", "y");
    const QString root = QString::fromStdString(dir.path());
    const FileDialogSpec open{"Open Team File", "dat", "QRD Team Files|*.dat", root, "", true};
    for (int row : {0, 1}) {
        FileChooser chooser(nullptr, Mode::Open, open);
        ASSERT_TRUE(showActive(chooser));
        run(chooser, {key(Qt::Key_Home)});
        if (row == 1) run(chooser, {key(Qt::Key_Down)});
        run(chooser, {key(Qt::Key_Return, "AcceptButton")});
        const std::string picked = dir.file(row == 0 ? "M\xfcller.dat" : "M\xfdller.dat");
        EXPECT_EQ(chooser.chosenBytes(), picked);
    }
}

}  // namespace
}  // namespace rostrix
