// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
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

QStringList shownNames(FileChooser& chooser) {
    auto* list = chooser.findChild<QTreeWidget*>("FileList");
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

// What a user does in the chooser, by keyboard only.
struct Step {
    enum { Type, Key, PickType } what;
    QString text{};  // Type: into the name box; PickType: the entry of the type box
    Qt::Key key = Qt::Key_Return;
    const char* at = "NameEdit";  // Key: the widget that has the focus
};

void run(FileChooser& chooser, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        if (s.what == Step::PickType) {
            auto* box = chooser.findChild<QComboBox*>("FileType");
            box->setCurrentIndex(box->findText(s.text));
            continue;
        }
        auto* name = chooser.findChild<QLineEdit*>("NameEdit");
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
    for (const char* name : {"Jos\xe9.dat", "b.dat", "a.ser", "notes.txt"}) dir.write(name, "x");
    std::filesystem::create_directory(dir.file("Leagues"));
    dir.write("Leagues/l.dat", "x");
    const QString odd = QStringLiteral("Jos\uFFFD.dat");
    const QString root = QString::fromStdString(dir.path());
    const FileDialogSpec open{"Open Team File", "dat", "QRD Team Files|*.dat|QRD Series Files|*.ser",
                              root, "", true};
    FileDialogSpec save{"Save Team File", "dat", "QRD Team Files|*.dat", root, "", true};
    FileDialogSpec quietSave = save;
    quietSave.confirmOverwrite = false;
    struct Case {
        const char* what;
        Mode mode;
        FileDialogSpec spec;
        std::vector<Step> steps;
        std::vector<int> answers;  // buttons for the boxes the chooser asks
        std::string chosen;        // empty: nothing chosen yet
        QStringList listed;
        std::vector<QString> asked{};
    };
    const Case cases[] = {
        {"odd name listed, picked from the list", Mode::Open, open,
         {{Step::Key, {}, Qt::Key_End, "FileList"}, {Step::Key, {}, Qt::Key_Return, "FileList"}},
         {}, dir.file("Jos\xe9.dat"), {"Leagues", "b.dat", odd}},
        {"Enter on a folder goes in, Backspace comes back", Mode::Open, open,
         {{Step::Key, {}, Qt::Key_Home, "FileList"}, {Step::Key, {}, Qt::Key_Return, "FileList"},
          {Step::Key, {}, Qt::Key_Backspace, "FileList"}, {Step::Type, "Leagues"}},
         {}, "", {"l.dat"}},
        {"other type and a typed pattern", Mode::Open, open,
         {{Step::PickType, "QRD Series Files (*.ser)"}, {Step::Type, "*.t?t"}}, {}, "",
         {"Leagues", "notes.txt"}},
        {"missing file", Mode::Open, open, {{Step::Type, "gone"}}, {Ok}, "", {"Leagues", "b.dat", odd},
         {dir.file("gone.dat").c_str() + QStringLiteral("\nFile not found.\nCheck the file name and "
                                                        "try again.")}},
        {"replace answered No", Mode::Save, save, {{Step::Type, "b"}}, {No}, "",
         {"Leagues", "b.dat", odd}, {"b.dat already exists.\nDo you want to replace it?"}},
        {"replace answered Yes", Mode::Save, save, {{Step::Type, "b.dat"}}, {Yes}, dir.file("b.dat"),
         {"Leagues", "b.dat", odd}, {"b.dat already exists.\nDo you want to replace it?"}},
        {"caller asks itself", Mode::Save, quietSave, {{Step::Type, odd}}, {},
         dir.file("Jos\xe9.dat"), {"Leagues", "b.dat", odd}},
        {"new file gets the suffix", Mode::Save, save, {{Step::Type, "new"}}, {}, dir.file("new.dat"),
         {"Leagues", "b.dat", odd}},
        {"no such folder", Mode::Save, save, {{Step::Type, "nowhere/x"}}, {Ok}, "",
         {"Leagues", "b.dat", odd}, {"The folder " + root + "/nowhere does not exist."}},
        {"folder picked from the list", Mode::Folder, {"Select Your .DAT Folder:", "", "", "", "", true},
         {{Step::Key, {}, Qt::Key_Home, "FileList"}, {Step::Key, {}, Qt::Key_Space, "AcceptButton"}},
         {}, dir.file("Leagues"), {"Leagues"}},
    };
    for (const Case& c : cases) {
        test::ScriptedDialogs dlg;
        for (int b : c.answers) dlg.answerButton(b);
        FileChooser chooser(nullptr, c.mode, c.spec);
        if (c.mode == Mode::Folder) chooser.showFolder(dir.path());
        chooser.show();
        QApplication::setActiveWindow(&chooser);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser)) << c.what;
        run(chooser, c.steps);
        EXPECT_EQ(chooser.result() == QDialog::Accepted, !c.chosen.empty()) << c.what;
        EXPECT_EQ(chooser.chosenBytes(), c.chosen) << c.what;
        EXPECT_EQ(shownNames(chooser).join('|'), c.listed.join('|')) << c.what;
        ASSERT_EQ(dlg.asked.size(), c.asked.size()) << c.what;
        for (std::size_t i = 0; i < c.asked.size(); ++i)
            EXPECT_EQ(dlg.asked[i].text, c.asked[i]) << c.what;
    }
}

// Two names that differ only in a byte that is not UTF-8 show alike; the one picked is
// the one the caller gets.
TEST(FileChooser, NamesThatShowAlikeAreToldApartByTheirBytes) {
    test::TempFolder dir;
    dir.write("M\xfcller.dat", "u");
    dir.write("M\xfdller.dat", "y");
    const FileDialogSpec open{"Open Team File", "dat", "QRD Team Files|*.dat",
                              QString::fromStdString(dir.path()), "", true};
    for (int row : {0, 1}) {
        FileChooser chooser(nullptr, Mode::Open, open);
        chooser.show();
        QApplication::setActiveWindow(&chooser);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
        run(chooser, {{Step::Key, {}, Qt::Key_Home, "FileList"}});
        if (row == 1) run(chooser, {{Step::Key, {}, Qt::Key_Down, "FileList"}});
        run(chooser, {{Step::Key, {}, Qt::Key_Return, "AcceptButton"}});
        const std::string picked = dir.file(row == 0 ? "M\xfcller.dat" : "M\xfdller.dat");
        EXPECT_EQ(chooser.chosenBytes(), picked);
        EXPECT_EQ(chosenPathBytes(chooser.chosen()), picked);
    }
}

}  // namespace
}  // namespace rostrix
