// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QtTest/QTest>
#include <filesystem>

#include "platform/gui/PaneText.h"
#include "platform/gui/SpinEdit.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "format/TeamLayout.h"
#include "teamfile/FilterReport.h"
#include "teamfile/TeamFileRead.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

using Lines = std::vector<std::string>;

const std::string kSampleBytes = joinLinesCrlf(sampleTeamLines());

class Editor : public ::testing::Test {
protected:
    test::TempFolder dir{true};  // the current directory while the test runs
    test::ScriptedDialogs dlg;
    TForm4 form;

    QPlainTextEdit* pane() { return form.Memo1(); }
    Lines lines() { return paneLines(pane()); }
    bool modified() { return pane()->document()->isModified(); }
    void press(const char* button) {
        auto* b = form.findChild<QToolButton*>(button);
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    // Puts a file's text in the pane the way the main window does before showing it.
    void load(const std::string& path, const Lines& text) {
        setPaneLines(pane(), text);
        form.CurrentFile = path;
        pane()->document()->setModified(false);
    }
    // Types at the end of the last line.
    void type(const char* text) {
        pane()->moveCursor(QTextCursor::End);
        if (pane()->textCursor().block().text().isEmpty()) pane()->moveCursor(QTextCursor::Left);
        QTest::keyClicks(pane(), text);
    }
    void expectSavePrompt(std::size_t at, const QString& name) {
        ASSERT_GT(dlg.asked.size(), at);
        EXPECT_EQ(dlg.asked[at].title, "Run QRD Warning");
        EXPECT_EQ(dlg.asked[at].text, name + " has changed.  Save Changes?");
        EXPECT_EQ(dlg.asked[at].icon, MsgIcon::Warning);
        EXPECT_EQ(dlg.asked[at].buttons, Yes | No | Cancel);
    }
    void expectErrorBox(std::size_t at, const std::string& text) {
        ASSERT_GT(dlg.asked.size(), at);
        EXPECT_EQ(dlg.asked[at].title, "Rostrix");
        EXPECT_EQ(dlg.asked[at].text.toStdString(), text);
        EXPECT_EQ(dlg.asked[at].icon, MsgIcon::Error);
    }
};

TEST_F(Editor, StartsWithTheSampleTeamAndAnEmptyFilter) {
    EXPECT_EQ(form.windowTitle(), "Rostrix");
    EXPECT_EQ(lines(), sampleTeamLines());
    EXPECT_FALSE(modified());
    EXPECT_EQ(form.size(), QSize(795, 425));
    EXPECT_EQ(form.ArchiveDirectory, std::filesystem::current_path().string());
    EXPECT_EQ(pane()->lineWrapMode(), QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(pane()->font());
    EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    EXPECT_EQ(pane()->font().pixelSize(), 13);

    auto* kinds = form.findChild<QComboBox*>("ComboBox1");
    ASSERT_NE(kinds, nullptr);
    EXPECT_EQ(kinds->currentIndex(), -1);
    QStringList items;
    for (int i = 0; i < kinds->count(); ++i) items << kinds->itemText(i);
    EXPECT_EQ(items, QStringList({"Batter - At Bats", "Batter - Games", "Pitcher - Innings",
                                  "Pitcher - Games"}));
    auto* threshold = form.findChild<SpinEdit*>("CSpinEdit1");
    ASSERT_NE(threshold, nullptr);
    EXPECT_EQ(threshold->fieldText(), "1");
    EXPECT_EQ(std::pair(threshold->minLimit(), threshold->maxLimit()), std::pair(1, 1000));
}

TEST_F(Editor, ToolBarHoldsItsControlsInOrder) {
    const QStringList expected{"ToolButton2 New File Ctrl+N",
                               "ToolButton3 Open File Ctrl+O",
                               "ToolButton4 Save File Ctrl+S",
                               "ToolButton5 Save File As Ctrl+Shift+S",
                               "ToolButton10 Undo Ctrl+Z",
                               "ToolButton7 Cut Ctrl+X",
                               "ToolButton8 Copy Ctrl+C",
                               "ToolButton9 Paste Ctrl+V",
                               "Label1 Filter Out",
                               "ComboBox1 ",
                               "Label2 When Less Than",
                               "CSpinEdit1 ",
                               "ToolButton23 Update .DAT File (Apply Filter) Ctrl+L",
                               "ToolButton28 Write to team archive file Ctrl+T",
                               "ToolButton29 Write to player archive file Ctrl+P",
                               "ToolButton30 Check Team File F7",
                               "TableViewButton Table View F6"};
    auto* bar = form.findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->height(), 29);
    QStringList got;
    for (QAction* a : bar->actions()) {
        QWidget* w = bar->widgetForAction(a);
        if (a->isSeparator() || !w) continue;
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QToolButton*>(w);
        QString entry = w->objectName() + ' ' +
                        (label    ? label->text()
                         : button ? button->accessibleName()
                                  : w->toolTip());
        if (button) {
            EXPECT_FALSE(button->icon().isNull()) << entry.toStdString();
            // The tool tip names the command and, where there is one, its key.
            const QString key = a->shortcut().toString();
            EXPECT_EQ(button->toolTip(), key.isEmpty()
                                             ? button->accessibleName()
                                             : button->accessibleName() + " (" + key + ")");
            if (!key.isEmpty()) entry += ' ' + key;
        }
        got << entry;
    }
    EXPECT_EQ(got, expected);
}

// A team file holds Latin-1: a pasted quote or euro sign is asked about before saving.
TEST_F(Editor, CharactersATeamFileCannotHoldAreAskedAboutOnce) {
    const QString text = QString::fromUtf8(
        "title\ncaf\xC3\xA9 it\xE2\x80\x99s 5\xE2\x82\xAC\n"
        "\xF0\x9F\x98\x80\n");
    for (const int answer : {Yes, No}) {
        dir.write("t.dat", "old\r\n");
        load(dir.file("t.dat"), {});
        pane()->setPlainText(text);
        pane()->document()->setModified(true);  // as after typing or pasting it
        dlg.asked.clear();
        dlg.answerButton(answer);
        press("ToolButton4");
        ASSERT_EQ(dlg.asked.size(), 1u) << answer;
        EXPECT_EQ(dlg.asked[0].title, "Rostrix");
        EXPECT_EQ(dlg.asked[0].text,
                  QString::fromUtf8("Line 2 holds \xE2\x80\x99 (U+2019), a character a team file "
                                    "cannot hold.\nSave with \"?\" in place of every such "
                                    "character?"));
        EXPECT_EQ(dlg.asked[0].buttons, Yes | No);
        EXPECT_EQ(pane()->toPlainText(), text) << answer;
        EXPECT_EQ(modified(), answer == No);
        EXPECT_EQ(dir.read("t.dat"),
                  answer == Yes ? "title\r\ncaf\xE9 it?s 5?\r\n?\r\n" : "old\r\n");
    }
    // Save As with No writes nothing and keeps the file the text belongs to.
    dlg.asked.clear();
    dlg.answerPath(QString::fromStdString(dir.file("other.dat")));
    dlg.answerButton(No);
    pane()->setPlainText(QString::fromUtf8("\xE2\x82\xAC"));
    press("ToolButton5");
    EXPECT_TRUE(
        dlg.asked.at(1).text.startsWith(QString::fromUtf8("Line 1 holds \xE2\x82\xAC (U+20AC), ")));
    EXPECT_FALSE(dir.exists("other.dat"));
    EXPECT_EQ(form.CurrentFile, dir.file("t.dat"));
}

TEST_F(Editor, NewAsksAboutChangesFirst) {
    struct Case {
        bool changed;
        int answer;  // 0: no question expected
        bool emptied;
        bool written;
    };
    const Case cases[] = {
        {false, 0, true, false},
        {true, Cancel, false, false},
        {true, No, true, false},
        {true, Yes, true, true},
    };
    for (const Case& c : cases) {
        dir.write("team.dat", "old\r\n");
        load(dir.file("team.dat"), {"title", "line"});
        form.setWindowTitle("before");
        if (c.changed) type("!");
        if (c.answer) dlg.answerButton(c.answer);
        dlg.asked.clear();
        press("ToolButton2");
        ASSERT_EQ(dlg.asked.size(), c.answer ? 1u : 0u);
        if (c.answer) expectSavePrompt(0, "team.dat");
        EXPECT_EQ(lines().empty(), c.emptied) << c.answer;
        EXPECT_EQ(form.windowTitle(), c.emptied ? "Rostrix - Untitled.dat" : "before");
        EXPECT_EQ(form.CurrentFile, c.emptied ? "Untitled.dat" : dir.file("team.dat"));
        EXPECT_EQ(modified(), !c.emptied);
        // A text with a file is written there, with no dialog.
        EXPECT_EQ(dir.read("team.dat"), c.written ? "title\r\nline!\r\n" : "old\r\n");
    }
}

TEST_F(Editor, OpenAsksAfterTheDialogAndLoadsTheFile) {
    dir.write("old.dat", "old\r\n");
    dir.write("new.dat", "first\r\nsecond\r\n");
    const std::string chosen = dir.file("new.dat");
    struct Case {
        std::optional<std::string> path;
        int answer;  // 0: no question expected
        bool loaded;
    };
    const Case cases[] = {
        {std::nullopt, 0, false},  // dismissed: not even the prompt
        {chosen, Cancel, false},
        {chosen, No, true},
        {chosen, Yes, true},
    };
    for (const Case& c : cases) {
        dir.write("old.dat", "old\r\n");
        load(dir.file("old.dat"), {"old"});
        form.setWindowTitle("before");
        type("!");
        dlg.answerPath(c.path);
        if (c.answer) dlg.answerButton(c.answer);
        dlg.asked.clear();
        press("ToolButton3");
        ASSERT_EQ(dlg.asked.size(), c.answer ? 2u : 1u);
        EXPECT_EQ(dlg.asked[0].kind, "openFile");
        EXPECT_EQ(dlg.asked[0].file.title, "Open Team File");
        EXPECT_EQ(dlg.asked[0].file.defaultExt, "dat");
        EXPECT_EQ(dlg.asked[0].file.filter, "QRD Team Files|*.dat|QRD Series Files|*.ser");
        if (c.answer) expectSavePrompt(1, "old.dat");
        EXPECT_EQ(lines(), c.loaded ? Lines({"first", "second"}) : Lines({"old!"}));
        EXPECT_EQ(form.CurrentFile, dir.file(c.loaded ? "new.dat" : "old.dat"));
        EXPECT_EQ(form.windowTitle(), c.loaded ? "Rostrix - new.dat" : "before");
        EXPECT_EQ(modified(), !c.loaded);
        EXPECT_EQ(dir.read("old.dat"), c.answer == Yes ? "old!\r\n" : "old\r\n");
    }
}

TEST_F(Editor, FilesComeBackByteForByte) {
    const std::pair<std::string, std::string> cases[] = {
        {kSampleBytes, kSampleBytes},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\r\n\r\n", "a\r\n\r\n"},  // a blank last line stays
        {"\xA0\xE9\xFF\t\r\n", "\xA0\xE9\xFF\t\r\n"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        dir.write("team.dat", in);
        dlg.answerPath(QString::fromStdString(dir.file("team.dat")));
        press("ToolButton3");
        press("ToolButton4");
        EXPECT_EQ(dir.read("team.dat"), out);
        EXPECT_FALSE(modified());
    }
}

TEST_F(Editor, SeriesFilesAreTeamFilesToo) {
    dir.write("playoff.ser", kSampleBytes);
    dlg.answerPath(QString::fromStdString(dir.file("playoff.ser")));
    press("ToolButton3");
    EXPECT_EQ(form.windowTitle(), "Rostrix - playoff.ser");
    EXPECT_EQ(lines(), sampleTeamLines());
    type("X");
    press("ToolButton4");  // no dialog: saved where it came from
    EXPECT_EQ(dir.read("playoff.ser"), kSampleBytes.substr(0, kSampleBytes.size() - 2) + "X\r\n");
    EXPECT_FALSE(dir.exists("playoff.dat"));
    EXPECT_FALSE(modified());
}

TEST_F(Editor, SaveOfAnUntitledTextGoesThroughSaveAs) {
    press("ToolButton2");
    type("text");
    dlg.answerPath(std::nullopt);
    press("ToolButton4");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].kind, "saveFile");
    EXPECT_EQ(dlg.asked[0].file.title, "Save Team File");
    EXPECT_EQ(dlg.asked[0].file.defaultExt, "dat");
    EXPECT_EQ(dlg.asked[0].file.filter, "QRD Team Files|*.dat");
    EXPECT_FALSE(dlg.asked[0].file.confirmOverwrite);
    EXPECT_EQ(dlg.asked[0].file.fileName, "Untitled.dat");
    EXPECT_EQ(dlg.asked[0].file.initialDir, "");
    EXPECT_TRUE(modified());
    EXPECT_EQ(form.CurrentFile, "Untitled.dat");
    EXPECT_EQ(form.windowTitle(), "Rostrix - Untitled.dat");
    EXPECT_FALSE(dir.exists("Untitled.dat"));

    dir.write("taken.dat", "someone else's\r\n");
    dlg.answerPath(QString::fromStdString(dir.file("taken.dat")));
    dlg.answerButton(Yes);
    press("ToolButton4");
    EXPECT_EQ(dlg.asked.back().text, "taken.dat already exists.  Replace it?");
    EXPECT_EQ(dir.read("taken.dat"), "text\r\n");
    EXPECT_EQ(form.CurrentFile, dir.file("taken.dat"));
    EXPECT_EQ(form.windowTitle(), "Rostrix - taken.dat");
    EXPECT_FALSE(modified());
}

TEST_F(Editor, SaveAsStartsFromTheCurrentFile) {
    load(dir.file("here.dat"), {"x"});
    form.setWindowTitle("Rostrix - here.dat");
    type("y");
    dlg.answerPath(std::nullopt);
    press("ToolButton5");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].file.fileName.toStdString(), dir.file("here.dat"));
    EXPECT_EQ(dlg.asked[0].file.initialDir.toStdString(), dir.path());
    EXPECT_FALSE(dir.exists("here.dat"));
    EXPECT_TRUE(modified());

    dlg.answerPath(QString::fromStdString(dir.file("there.dat")));
    press("ToolButton5");
    EXPECT_EQ(dir.read("there.dat"), "xy\r\n");
    EXPECT_EQ(form.windowTitle(), "Rostrix - there.dat");
    EXPECT_EQ(form.CurrentFile, dir.file("there.dat"));
    EXPECT_FALSE(modified());
    // Save keeps the caption it has.
    form.setWindowTitle("kept");
    type("z");
    press("ToolButton4");
    EXPECT_EQ(dir.read("there.dat"), "xyz\r\n");
    EXPECT_EQ(form.windowTitle(), "kept");
}

TEST_F(Editor, SaveAsAsksBeforeReplacingAnotherFile) {
    const std::string mine = dir.file("mine.dat");
    const std::string season = dir.file("archive.dat");
    const std::string fresh = dir.file("fresh.dat");
    struct Step {
        std::optional<std::string> path;  // nothing: the dialog is dismissed
        int reply;                        // to the replace question; 0: none expected
    };
    struct Case {
        const char* what;
        std::string current;
        std::vector<Step> steps;
        std::string written;  // the file that gets the text; empty: none
    };
    const Case cases[] = {
        {"Yes replaces", mine, {{season, Yes}}, "archive.dat"},
        {"No, then dismissed", mine, {{season, No}, {std::nullopt, 0}}, ""},
        {"No, then a free name", mine, {{season, No}, {fresh, 0}}, "fresh.dat"},
        {"its own file", mine, {{mine, 0}}, "mine.dat"},
        {"its own file spelled otherwise", mine, {{dir.path() + "/./mine.dat", 0}}, "mine.dat"},
        {"a text never saved",
         "Untitled.dat",
         {{dir.file("Untitled.dat"), No}, {std::nullopt, 0}},
         ""},
    };
    for (const Case& c : cases) {
        for (const char* name : {"mine.dat", "archive.dat", "Untitled.dat"})
            dir.write(name, std::string(name) + "\r\n");
        std::filesystem::remove(fresh);
        load(c.current, {"new"});
        type("!");
        for (const Step& step : c.steps) {
            dlg.answerPath(step.path);
            if (step.reply) dlg.answerButton(step.reply);
        }
        dlg.asked.clear();
        press("ToolButton5");
        std::size_t at = 0;
        std::optional<std::string> refused;
        for (const Step& step : c.steps) {
            ASSERT_LT(at, dlg.asked.size()) << c.what;
            EXPECT_EQ(dlg.asked[at].kind, "saveFile") << c.what;
            EXPECT_FALSE(dlg.asked[at].file.confirmOverwrite) << c.what;
            // After No the dialog comes back with the name that was refused.
            if (refused) {
                EXPECT_EQ(dlg.asked[at].file.fileName.toStdString(), *refused) << c.what;
            }
            ++at;
            if (!step.reply) continue;
            ASSERT_LT(at, dlg.asked.size()) << c.what;
            const QString name =
                QString::fromStdString(std::filesystem::path(*step.path).filename());
            EXPECT_EQ(dlg.asked[at].title, "Run QRD Warning");
            EXPECT_EQ(dlg.asked[at].text, name + " already exists.  Replace it?");
            EXPECT_EQ(dlg.asked[at].icon, MsgIcon::Warning);
            EXPECT_EQ(dlg.asked[at].buttons, Yes | No);
            ++at;
            refused = step.path;
        }
        EXPECT_EQ(dlg.asked.size(), at) << c.what;
        for (const char* name : {"mine.dat", "archive.dat", "Untitled.dat", "fresh.dat"}) {
            const std::string before =
                name == std::string("fresh.dat") ? "<missing>" : std::string(name) + "\r\n";
            EXPECT_EQ(dir.read(name), c.written == name ? "new!\r\n" : before)
                << c.what << ": " << name;
        }
        EXPECT_EQ(modified(), c.written.empty()) << c.what;
        EXPECT_EQ(form.CurrentFile, c.written.empty() ? c.current : *c.steps.back().path) << c.what;
    }
}

TEST_F(Editor, YesToAnUntitledTextAsksForItsName) {
    struct Case {
        std::string button;  // New, Open, or empty: closing the window
        std::optional<std::string> name;
        bool goesOn;  // the command went on (nothing: counts as Cancel)
    };
    const std::string named = dir.file("named.dat");
    const Case cases[] = {
        {"ToolButton2", std::nullopt, false},
        {"ToolButton2", named, true},
        {"ToolButton3", std::nullopt, false},
        {"ToolButton3", named, true},
        {"", std::nullopt, false},
        {"", named, true},
    };
    dir.write("other.dat", "other\r\n");
    for (const Case& c : cases) {
        std::filesystem::remove(dir.file("named.dat"));
        load("Untitled.dat", {"text"});
        form.setWindowTitle("Rostrix - Untitled.dat");
        type("!");
        form.show();
        if (c.button == "ToolButton3")
            dlg.answerPath(QString::fromStdString(dir.file("other.dat")));
        dlg.answerButton(Yes);
        dlg.answerPath(c.name);
        dlg.asked.clear();
        if (!c.button.empty())
            press(c.button.c_str());
        else
            form.close();
        const std::size_t prompt = c.button == "ToolButton3" ? 1 : 0;
        expectSavePrompt(prompt, "Untitled.dat");
        ASSERT_EQ(dlg.asked.size(), prompt + 2) << c.button;
        EXPECT_EQ(dlg.asked[prompt + 1].kind, "saveFile");
        EXPECT_EQ(dlg.asked[prompt + 1].file.fileName, "Untitled.dat");
        EXPECT_FALSE(dir.exists("Untitled.dat")) << "never written blind";
        EXPECT_EQ(dir.exists("named.dat"), c.goesOn);
        if (c.goesOn) {
            EXPECT_EQ(dir.read("named.dat"), "text!\r\n");
        }
        if (!c.goesOn) {
            // Cancel: window, text, name, caption and flag as they were.
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(lines(), Lines{"text!"});
            EXPECT_EQ(form.CurrentFile, "Untitled.dat");
            EXPECT_EQ(form.windowTitle(), "Rostrix - Untitled.dat");
            EXPECT_TRUE(modified());
        } else if (c.button.empty()) {
            EXPECT_FALSE(form.isVisible());
        } else {
            EXPECT_EQ(lines(), c.button == "ToolButton2" ? Lines{} : Lines{"other"});
        }
        form.hide();
    }
}

TEST_F(Editor, KeysReachEveryFileCommand) {
    form.show();
    QApplication::setActiveWindow(&form);
    pane()->setFocus();
    dir.write("team.dat", "team\r\n");
    load(dir.file("team.dat"), {"team"});
    type("!");

    QTest::keyClick(pane(), Qt::Key_S, Qt::ControlModifier);  // Save: no dialog
    EXPECT_EQ(dir.read("team.dat"), "team!\r\n");
    EXPECT_FALSE(modified());

    dlg.answerPath(QString::fromStdString(dir.file("copy.dat")));
    QTest::keyClick(pane(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dir.read("copy.dat"), "team!\r\n");
    EXPECT_EQ(form.windowTitle(), "Rostrix - copy.dat");

    QTest::keyClick(pane(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form.windowTitle(), "Rostrix - Untitled.dat");
    EXPECT_TRUE(lines().empty());

    dlg.answerPath(QString::fromStdString(dir.file("team.dat")));
    QTest::keyClick(pane(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(lines(), Lines{"team!"});
    ASSERT_EQ(dlg.asked.size(), 2u);
    EXPECT_EQ(dlg.asked[0].kind, "saveFile");
    EXPECT_EQ(dlg.asked[1].kind, "openFile");

    // The keys work from the filter's fields too.
    form.findChild<QComboBox*>("ComboBox1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(lines().empty());
}

TEST_F(Editor, TheStarterInQuestionIsSelectedWhileAsked) {
    load("team.dat", sampleTeamLines());
    form.show();
    pane()->moveCursor(QTextCursor::End);
    ASSERT_GT(pane()->cursorForPosition(QPoint(0, 0)).blockNumber(), 4) << "starts out of view";
    form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
    form.findChild<SpinEdit*>("CSpinEdit1")->setFieldText("200");
    QStringList selected;
    dlg.whileAsked = [&](const test::Asked&) {
        selected << pane()->textCursor().selectedText();
        // The line is in view.
        EXPECT_TRUE(pane()->viewport()->rect().contains(pane()->cursorRect().center()));
    };
    dlg.answerButton(Cancel);
    press("ToolButton23");
    ASSERT_EQ(selected.size(), 1);
    // The one starter under 200 at bats, his whole line.
    EXPECT_EQ(selected[0].toStdString(), sampleTeamLines()[4]);
    EXPECT_FALSE(pane()->textCursor().hasSelection()) << "the selection goes with the answer";
}

TEST_F(Editor, FailuresLeaveEverythingAsItWas) {
    dir.write("locked.dat", "locked\r\n");
    ASSERT_EQ(chmod(dir.file("locked.dat").c_str(), 0444), 0);
    const std::string missingFolder = dir.file("no-such-folder/team.dat");
    ASSERT_EQ(mkfifo(dir.file("pipe.dat").c_str(), 0600), 0);  // would hold an open for ever
    std::filesystem::create_directory(dir.file("folder.dat"));
    std::filesystem::create_symlink(dir.file("loop.dat"), dir.file("loop.dat"));
    dir.write("huge.dat", std::string(kMaxTeamFileBytes + 1, ' '));  // no team is this large
    const std::string gone = ": No such file or directory";
    struct Case {
        const char* button;
        std::string current;
        std::optional<std::string> dialogPath;
        std::string error;
        bool replaces = false;  // the chosen file exists: Save As asks first
    };
    const Case cases[] = {
        {"ToolButton3", dir.file("start.dat"), dir.file("missing.dat"),
         "Cannot open file " + dir.file("missing.dat") + gone},
        {"ToolButton3", dir.file("start.dat"), dir.file("pipe.dat"),
         dir.file("pipe.dat") + " is not a regular file"},
        {"ToolButton3", dir.file("start.dat"), dir.file("folder.dat"),
         "Cannot open file " + dir.file("folder.dat") + ": Is a directory"},
        {"ToolButton3", dir.file("start.dat"), dir.file("loop.dat"),
         "Cannot open file " + dir.file("loop.dat") + ": Too many levels of symbolic links"},
        {"ToolButton3", dir.file("start.dat"), dir.file("huge.dat"),
         "Cannot open file " + dir.file("huge.dat") +
             ": it holds 1048577 bytes, far more than any team file; at most 1048576 bytes are "
             "opened"},
        {"ToolButton5", dir.file("other.dat"), missingFolder,
         "Cannot create file " + missingFolder + gone},
        {"ToolButton5", dir.file("other.dat"), "/dev/full", "/dev/full is not a regular file",
         true},
        {"ToolButton5", dir.file("other.dat"), dir.file("pipe.dat"),
         dir.file("pipe.dat") + " is not a regular file", true},
        {"ToolButton5", dir.file("other.dat"), dir.file("locked.dat"),
         "Cannot create file " + dir.file("locked.dat") + ": Permission denied", true},
        {"ToolButton4", missingFolder, std::nullopt, "Cannot create file " + missingFolder + gone},
    };
    for (const Case& c : cases) {
        load(c.current, {"kept"});
        form.setWindowTitle("before");
        type("!");
        if (c.dialogPath) dlg.answerPath(QString::fromStdString(*c.dialogPath));
        if (c.replaces) dlg.answerButton(Yes);
        // Open asks first; its Yes is carried out before the load fails.
        if (c.button == std::string("ToolButton3")) dlg.answerButton(Yes);
        dlg.answerButton(Ok);
        dlg.asked.clear();
        press(c.button);
        expectErrorBox(dlg.asked.size() - 1, c.error + ".");
        EXPECT_EQ(lines(), Lines{"kept!"}) << c.error;
        EXPECT_EQ(form.CurrentFile, c.current);
        EXPECT_EQ(form.windowTitle(), "before");
        EXPECT_TRUE(modified());
    }
    EXPECT_EQ(dir.read("start.dat"), "kept!\r\n");
    EXPECT_EQ(dir.read("locked.dat"), "locked\r\n");
    EXPECT_FALSE(dir.exists("other.dat"));
}

TEST_F(Editor, ClosingAsksAboutChanges) {
    struct Case {
        bool changed;
        int answer;
        bool closes;
        const char* written;
    };
    const Case cases[] = {
        {false, 0, true, "old\r\n"},
        {true, Cancel, false, "old\r\n"},
        {true, No, true, "old\r\n"},
        {true, Yes, true, "old!\r\n"},
    };
    for (const Case& c : cases) {
        dir.write("team.dat", "old\r\n");
        load(dir.file("team.dat"), {"old"});
        if (c.changed) type("!");
        form.show();
        // Esc is a key like any other in the pane: it neither closes nor asks.
        dlg.asked.clear();
        QTest::keyClick(pane(), Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(dlg.asked.empty());
        if (c.answer) dlg.answerButton(c.answer);
        form.close();
        EXPECT_EQ(dlg.asked.size(), c.answer ? 1u : 0u);
        if (c.answer) expectSavePrompt(0, "team.dat");
        EXPECT_EQ(form.isVisible(), !c.closes) << c.answer;
        EXPECT_EQ(dir.read("team.dat"), c.written);
        EXPECT_EQ(lines(), Lines{c.changed ? "old!" : "old"});
        form.hide();
    }
}

TEST_F(Editor, ClosingStaysOpenWhenTheSaveFails) {
    load(dir.file("gone/team.dat"), {"text"});
    type("!");
    form.show();
    dlg.answerButton(Yes);
    dlg.answerButton(Ok);
    form.close();
    expectErrorBox(
        1, "Cannot create file " + dir.file("gone/team.dat") + ": No such file or directory.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(modified());
}

class EditorFilter : public Editor {
protected:
    QLabel* place() { return form.findChild<QLabel*>("CursorPlace"); }
    void choose(int kind, const char* threshold) {
        form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(kind);
        form.findChild<SpinEdit*>("CSpinEdit1")->setFieldText(threshold);
    }
};

TEST_F(EditorFilter, ReplacesThePaneInOneUndoableStep) {
    load("team.dat", sampleTeamLines());
    choose(0, "200");
    dlg.answerButton(Ok);
    press("ToolButton23");
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].title, "Run QRD Warning");
    EXPECT_EQ(dlg.asked[0].text,
              "This will remove a starter!\nClick OK to remove.\n\n"
              "Vandermolen, Chris (line 5): 163 at bats, fewer than 200.");
    EXPECT_EQ(dlg.asked[0].icon, MsgIcon::Warning);
    EXPECT_EQ(dlg.asked[0].buttons, Ok | Cancel);
    const Lines filtered = lines();
    ASSERT_EQ(filtered.size(), 24u);
    EXPECT_TRUE(place()->text().endsWith("20 players left, 8 removed."));
    EXPECT_EQ(filtered[4], "00    01");
    EXPECT_TRUE(modified());
    EXPECT_EQ(form.CurrentFile, "team.dat");
    EXPECT_FALSE(dir.exists("team.dat"));

    form.findChild<QAction*>("EditUndo1")->trigger();
    EXPECT_EQ(lines(), sampleTeamLines());
    EXPECT_TRUE(modified());  // an undone change is still a change
}

TEST_F(EditorFilter, NoKindOrAFailureLeavesThePaneAlone) {
    Lines blankInnings = sampleTeamLines();
    blankInnings[14].replace(27, 3, "   ");
    Lines blankGames = sampleTeamLines();
    blankGames[26].replace(71, 3, "   ");  // a bench batter, after two starter questions
    struct Case {
        int kind;
        Lines text;
        int questions;
        std::string error;  // empty: none
    };
    const Case cases[] = {
        {-1, sampleTeamLines(), 0, ""},
        {2, blankInnings, 0, "'' is not a valid integer value."},
        {1, blankGames, 2, "'' is not a valid integer value."},
        {1, {sampleTeamLines()[0], sampleTeamLines()[1].substr(0, 60)}, 0, "Range check error."},
    };
    for (const Case& c : cases) {
        load("team.dat", c.text);
        choose(c.kind, "60");
        for (int i = 0; i < c.questions; ++i) dlg.answerButton(Ok);
        if (!c.error.empty()) dlg.answerButton(Ok);
        dlg.asked.clear();
        press("ToolButton23");
        ASSERT_EQ(dlg.asked.size(), c.questions + (c.error.empty() ? 0u : 1u));
        if (!c.error.empty()) expectErrorBox(dlg.asked.size() - 1, c.error);
        EXPECT_EQ(lines(), c.text);
        EXPECT_FALSE(modified());
        EXPECT_FALSE(pane()->document()->isUndoAvailable());
        // With nothing chosen, the line under the pane says what to choose.
        EXPECT_EQ(place()->text().endsWith(kChooseFilterKind), c.kind < 0) << c.kind;
    }
}

TEST_F(EditorFilter, AThresholdThatIsNoNumberReadsAsOne) {
    Lines text = sampleTeamLines();
    text[30].replace(27, 3, "  0");
    load("team.dat", text);
    choose(-1, "lots");  // no kind: the run stops before the threshold is read
    press("ToolButton23");
    EXPECT_EQ(form.findChild<SpinEdit*>("CSpinEdit1")->fieldText(), "lots");
    choose(0, "lots");
    press("ToolButton23");
    EXPECT_EQ(form.findChild<SpinEdit*>("CSpinEdit1")->fieldText(), "1");
    text.pop_back();
    EXPECT_EQ(lines(), text);
    // The filtered text is unsaved, so closing asks.
    form.show();
    dlg.answerButton(Cancel);
    form.close();
    expectSavePrompt(0, "team.dat");
    EXPECT_TRUE(form.isVisible());
}

TEST_F(Editor, EditCommandsAreOfferedWhenTheyCanAct) {
    auto action = [&](const char* name) { return form.findChild<QAction*>(name); };
    QApplication::clipboard()->clear();
    load("team.dat", {"alpha", "beta"});
    EXPECT_FALSE(action("EditUndo1")->isEnabled());
    EXPECT_FALSE(action("EditCut1")->isEnabled());
    EXPECT_FALSE(action("EditCopy1")->isEnabled());
    EXPECT_FALSE(action("EditPaste1")->isEnabled());

    pane()->moveCursor(QTextCursor::Start);
    pane()->moveCursor(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    EXPECT_TRUE(action("EditCut1")->isEnabled());
    EXPECT_TRUE(action("EditCopy1")->isEnabled());
    action("EditCopy1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "alpha");
    EXPECT_TRUE(action("EditPaste1")->isEnabled());

    action("EditCut1")->trigger();
    EXPECT_EQ(lines(), (Lines{"", "beta"}));
    EXPECT_FALSE(action("EditCopy1")->isEnabled());
    EXPECT_TRUE(action("EditUndo1")->isEnabled());
    EXPECT_TRUE(modified());

    pane()->moveCursor(QTextCursor::End);
    action("EditPaste1")->trigger();
    EXPECT_EQ(lines(), (Lines{"", "beta", "alpha"}));
    action("EditUndo1")->trigger();
    action("EditUndo1")->trigger();
    EXPECT_EQ(lines(), (Lines{"alpha", "beta"}));
    EXPECT_FALSE(action("EditUndo1")->isEnabled());
    EXPECT_TRUE(modified());  // undone back to the file's text, still a change

    QApplication::clipboard()->clear();
    EXPECT_FALSE(action("EditPaste1")->isEnabled());

    // The commands act on the focused text control, never on a pane out of focus.
    form.show();
    QApplication::setActiveWindow(&form);
    QApplication::clipboard()->setText("42");
    auto* list = form.findChild<QComboBox*>("ComboBox1");
    list->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), list);
    action("EditPaste1")->trigger();
    EXPECT_EQ(lines(), (Lines{"alpha", "beta"}));
    auto* threshold = form.findChild<SpinEdit*>("CSpinEdit1");
    threshold->setFocus();
    threshold->selectAll();
    action("EditPaste1")->trigger();
    EXPECT_EQ(threshold->fieldText(), "42");
    EXPECT_EQ(lines(), (Lines{"alpha", "beta"}));
}

}  // namespace
}  // namespace rostrix
