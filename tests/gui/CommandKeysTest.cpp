// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmZip.h"
#include "platform/gui/PaneText.h"
#include "platform/gui/SpinEdit.h"
#include "shell/HomeShortcuts.h"
#include "shell/tmHome.h"
#include "support/core/StubPerl.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/EditorShortcuts.h"
#include "format/TeamLayout.h"
#include "teamfile/tmEditor.h"
#include "update/tmAbout.h"

namespace rostrix {
namespace {

void activate(QWidget* window) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
}

// The keys the text pane and line edits keep for themselves on any platform, including
// X11's line-editing keys, which the offscreen platform does not list.
QList<QKeySequence> textEditingKeys() {
    QList<QKeySequence> keys;
    const QKeySequence::StandardKey own[] = {QKeySequence::SelectAll,
                                             QKeySequence::Redo,
                                             QKeySequence::Delete,
                                             QKeySequence::DeleteEndOfLine,
                                             QKeySequence::DeleteStartOfWord,
                                             QKeySequence::DeleteEndOfWord,
                                             QKeySequence::DeleteCompleteLine,
                                             QKeySequence::MoveToEndOfLine,
                                             QKeySequence::MoveToStartOfLine,
                                             QKeySequence::InsertLineSeparator,
                                             QKeySequence::Backspace,
                                             QKeySequence::NextChild};
    for (auto k : own) keys += QKeySequence::keyBindings(k);
    // F1 opens the Help window everywhere; F2 and F3 switch the main window's layout.
    for (const char* x11 : {"Ctrl+A", "Ctrl+D", "Ctrl+E", "Ctrl+K", "Ctrl+U", "Ctrl+H", "Ctrl+W",
                            "Ctrl+Y", "F1", "F2", "F3"})
        keys += QKeySequence(QString::fromLatin1(x11));
    return keys;
}

TEST(CommandKeys, NoCommandKeyIsOneATextControlKeepsOrAnotherCommandHas) {
    const QList<QKeySequence> own = textEditingKeys();
    const auto check = [&](const auto& table, const QStringList& shared) {
        QList<QKeySequence> seen;
        for (const CommandKey& k : table) {
            const QKeySequence key(QString::fromLatin1(k.keys));
            EXPECT_FALSE(key.isEmpty()) << k.command;
            EXPECT_FALSE(seen.contains(key)) << k.command << " " << k.keys;
            if (!shared.contains(QString::fromLatin1(k.command))) {
                EXPECT_FALSE(own.contains(key)) << k.command << " " << k.keys;
            }
            seen += key;
        }
    };
    check(kHomeCommandKeys, {});
    // The edit commands are the pane's own Undo, Cut, Copy and Paste.
    check(kEditorCommandKeys, {"EditUndo1", "EditCut1", "EditCopy1", "EditPaste1"});
}

class MainWindowKeys : public ::testing::Test {
protected:
    MainWindowKeys() : home(true) { createForms(); }
    ~MainWindowKeys() override { destroyForms(); }
    test::TempFolder home;
};

TEST_F(MainWindowKeys, EachCommandRunsFromItsKeyInBothLayoutsWhileTyping) {
    struct Case {
        QKeyCombination key;
        QWidget* opens;       // the window shown; null for Create Team
        const char* tooltip;  // of the button
        const char* button;
    };
    const Case cases[] = {
        {Qt::CTRL | Qt::Key_T, nullptr, "Create Team (Ctrl+T)", "Button3"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_T, Form4, "Edit Team (Ctrl+Shift+T)", "Button4"},
        {Qt::CTRL | Qt::Key_N, Form5, "Names (Ctrl+N)", "Button2"},
        {Qt::CTRL | Qt::Key_M, Form7, "Make Zip (Ctrl+M)", "Button8"},
        {Qt::SHIFT | Qt::Key_F1, Form2, "About (Shift+F1)", "Button5"},
    };
    const test::StubPerl perl("echo run >> runs.txt\nexit 0\n");
    activate(Form1);
    auto* team = Form1->findChild<QLineEdit*>("Edit1");
    team->setText("cin");
    Form1->findChild<QLineEdit*>("Edit2")->setText("01ALcin");
    for (const Qt::Key layout : {Qt::Key_F2, Qt::Key_F3}) {
        QTest::keyClick(Form1, layout);
        for (const Case& c : cases) {
            const std::string what = QKeySequence(c.key).toString().toStdString();
            EXPECT_EQ(Form1->findChild<QPushButton*>(c.button)->toolTip(), c.tooltip);
            team->setFocus();
            std::filesystem::remove(home.file("runs.txt"));
            test::ScriptedDialogs dlg;
            if (c.opens)
                dlg.answerModal([&](QWidget* w) { EXPECT_EQ(w, c.opens) << what; });
            else
                dlg.answerButton(Ok);  // no team file was written
            QTest::keyClick(team, c.key.key(), c.key.keyboardModifiers());
            EXPECT_TRUE(dlg.allAnswered()) << what;
            EXPECT_EQ(home.exists("runs.txt"), c.opens == nullptr) << what;
            activate(Form1);
        }
    }
    // The menu items show their keys.
    EXPECT_EQ(Form1->findChild<QAction*>("Teams1")->shortcut(), QKeySequence("Ctrl+Shift+T"));
    EXPECT_EQ(Form1->findChild<QAction*>("Names1")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(Form1->findChild<QAction*>("CreateTeamPack1")->shortcut(), QKeySequence("Ctrl+M"));
    EXPECT_EQ(Form1->findChild<QPushButton*>("Button12")->toolTip(), "Careers (Ctrl+R)");

    // Enter in the Team or File box runs Create Team.
    for (const char* box : {"Edit1", "Edit2"}) {
        std::filesystem::remove(home.file("runs.txt"));
        test::ScriptedDialogs dlg;
        dlg.answerButton(Ok);
        QTest::keyClick(Form1->findChild<QLineEdit*>(box), Qt::Key_Return);
        EXPECT_TRUE(home.exists("runs.txt")) << box;
    }
    // Ctrl+Q closes the main window the way its close box does: its close handler runs.
    QTest::keyClick(team, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_NE(home.read("qrdTeams.ini").find("Auto File Name=No"), std::string::npos);
}

TEST(EditorKeys, EveryCommandRunsFromItsKeyInThePane) {
    test::TempFolder dir(true);
    test::ScriptedDialogs dlg;
    createForms();
    TForm4* form = Form4;
    activate(form);
    QPlainTextEdit* pane = form->Memo1();
    auto* kinds = form->findChild<QComboBox*>("ComboBox1");
    auto* threshold = form->findChild<SpinEdit*>("CSpinEdit1");
    kinds->setCurrentIndex(0);  // Batter - At Bats
    threshold->setFieldValue(100);
    const std::size_t pruned = sampleTeamLines().size() - 5;  // the bench under 100 at bats
    struct Case {
        QKeyCombination key;
        const char* button;
        const char* tooltip;
        QString asked;  // the kind of question the command asks first
    };
    const Case cases[] = {
        {Qt::CTRL | Qt::Key_L, "ToolButton23", "Update .DAT File (Apply Filter) (Ctrl+L)", ""},
        {Qt::CTRL | Qt::Key_T, "ToolButton28", "Write to team archive file (Ctrl+T)", "message"},
        {Qt::CTRL | Qt::Key_P, "ToolButton29", "Write to player archive file (Ctrl+P)",
         "showModal"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "ToolButton5", "Save File As (Ctrl+Shift+S)",
         "saveFile"},
        {QKeyCombination(Qt::Key_F7), "ToolButton30", "Check Team File (F7)", "message"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(form->findChild<QToolButton*>(c.button)->toolTip(), c.tooltip);
        pane->setFocus();
        const std::size_t before = dlg.asked.size();
        if (c.asked == "message") dlg.answerButton(Ok);
        if (c.asked == "showModal") dlg.answerModal([](QWidget*) {});
        if (c.asked == "saveFile") dlg.answerPath(std::nullopt);
        QTest::keyClick(pane, c.key.key(), c.key.keyboardModifiers());
        if (c.asked.isEmpty()) {
            EXPECT_EQ(dlg.asked.size(), before) << c.button;
            EXPECT_EQ(paneLines(pane).size(), pruned);
        } else {
            ASSERT_EQ(dlg.asked.size(), before + 1) << c.button;
            EXPECT_EQ(dlg.asked.back().kind, c.asked) << c.button;
        }
        activate(form);
    }
    EXPECT_TRUE(dir.exists("archive.dat"));

    // Enter in the threshold runs the filter.
    setPaneLines(pane, sampleTeamLines());
    threshold->setFocus();
    threshold->selectAll();
    QTest::keyClicks(threshold, "100");
    QTest::keyClick(threshold, Qt::Key_Return);
    EXPECT_EQ(paneLines(pane).size(), pruned);
    EXPECT_TRUE(dlg.allAnswered());
    destroyForms();
}

}  // namespace
}  // namespace rostrix
