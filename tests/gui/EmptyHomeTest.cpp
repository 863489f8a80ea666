// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>
#include <filesystem>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmZip.h"
#include "platform/gui/PaneText.h"
#include "shell/tmHome.h"
#include "support/core/LoopbackServer.h"
#include "support/core/StoredZip.h"
#include "support/core/StubPerl.h"
#include "support/core/TempFolder.h"
#include "support/gui/ListTexts.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

const std::string kTeam =
    "*A       W2000 Oakland      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P "
    "Gam-P\r\n00    08 Brisco, Dale      258  70  18   1   9  29  32  37 L   5  2  0  63 "
    "062-8\r\n";

template <class T = QPushButton>
T* in(QWidget* form, const char* name) {
    T* c = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// The start-up cannot write "Home" to the settings file, so HomeDirectory keeps what the
// file held: nothing (a folder stands where the settings file should be), or the folder of
// the machine a read-only settings file was copied from. Every window that lists or writes
// in the home folder uses the folder the program started in, and nothing lands in the
// root folder.
TEST(EmptyHome, TheStartFolderServesAsTheHomeFolder) {
    struct Case {
        const char* name;
        bool settingsIsAFolder;  // else a read-only file naming another folder
        std::string homeDirectory;
    };
    const Case cases[] = {
        {"a folder in place of the settings file", true, ""},
        {"a read-only settings file from elsewhere", false, "/nonexistent/elsewhere"},
    };
    const char* rootNames[] = {"/errlog.txt",  "/kwyx.zip",    "/kwyx.zip.part", "/27ALnya.dat",
                               "/28ALnya.dat", "/archive.dat", "/player.dat"};
    std::vector<bool> inRoot;
    for (const char* name : rootNames) inRoot.push_back(std::filesystem::exists(name));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder start(true);
        if (c.settingsIsAFolder) {
            std::filesystem::create_directory(start.file("qrdTeams.ini"));
        } else {
            start.write("qrdTeams.ini", "[Directories]\r\nHome=" + c.homeDirectory + "\r\n");
            std::filesystem::permissions(start.file("qrdTeams.ini"),
                                         std::filesystem::perms::owner_read);
        }
        start.write("27ALnya.dat", kTeam);

        test::ScriptedDialogs dlg;
        dlg.answerButton(Ok);  // "Unable to write to .../qrdTeams.ini."
        createForms();
        struct Destroy {
            ~Destroy() { destroyForms(); }
        } destroy;
        ASSERT_EQ(dlg.asked.size(), 1u);
        ASSERT_EQ(Form1->HomeDirectory, c.homeDirectory);
        ASSERT_EQ(Form1->HomePath, "");
        Form1->show();

        // Names lists the start folder.
        dlg.answerModal([&](QWidget*) {
            EXPECT_EQ(Form5->CurrentFolder, start.path());
            EXPECT_EQ(test::listTexts(in<QListWidget>(Form5, "CheckListBox1")),
                      QStringList{"27ALnya.dat"});
        });
        in(Form1, "Button2")->click();

        // Make Zip lists it.
        dlg.answerModal([&](QWidget*) {
            EXPECT_EQ(Form7->DatDirectory, start.path());
            EXPECT_TRUE(
                test::listTexts(in<QListWidget>(Form7, "CheckListBox1")).contains("27ALnya.dat"));
        });
        in(Form1, "Button8")->click();

        // Edit Team loads the team file from it; both archives are written there.
        in<QLineEdit>(Form1, "Edit2")->setText("27ALnya");
        dlg.answerModal([&](QWidget*) {
            EXPECT_EQ(Form4->CurrentFile, start.file("27ALnya.dat"));
            EXPECT_EQ(paneLines(Form4->Memo1()).size(), 2u);
            dlg.answerButton(Yes);  // the two-line team has problems: file it anyway
            dlg.answerButton(Ok);   // "Done!"
            in<QToolButton>(Form4, "ToolButton28")->click();
            dlg.answerModal([&](QWidget*) { in(Form3, "Button1")->click(); });
            dlg.answerButton(Yes);
            in<QToolButton>(Form4, "ToolButton29")->click();
        });
        in(Form1, "Button4")->click();
        EXPECT_TRUE(start.exists("archive.dat"));
        EXPECT_TRUE(start.exists("player.dat"));

        // Create Team runs the script there, with its log there, and checks what it wrote.
        in<QLineEdit>(Form1, "Edit1")->setText("nya");
        in<QLineEdit>(Form1, "Edit2")->setText("28ALnya");
        dlg.answerButton(Ok);  // "... was written but has N problems; ..."
        {
            const test::StubPerl perl("pwd > where.txt\necho new > 28ALnya.dat\necho oops >&2\n");
            in(Form1, "Button3")->click();
        }
        EXPECT_EQ(start.read("where.txt"), start.path() + "\n");
        EXPECT_EQ(start.read("28ALnya.dat"), "new\n");
        EXPECT_EQ(start.read("errlog.txt"), "oops\n");

        // The download puts kwyx.zip there.
        const std::string archive = test::storedZip(200);
        test::LoopbackServer server([&](int fd, const std::string&) {
            test::LoopbackServer::send(fd, test::httpReply("HTTP/1.0 200 OK", archive));
        });
        Form10->SiteBase = server.url("/site");
        Form10->Timer1.setInterval(20);
        Form10->show();
        ASSERT_TRUE(QTest::qWaitFor([] { return !Form10->isVisible(); }, 20000));
        EXPECT_EQ(start.read("kwyx.zip"), archive);
        EXPECT_TRUE(dlg.allAnswered());
    }
    for (std::size_t i = 0; i < std::size(rootNames); ++i)
        EXPECT_EQ(std::filesystem::exists(rootNames[i]), inRoot[i]) << rootNames[i];
}

}  // namespace
}  // namespace rostrix
