#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "app/Forms.h"
#include "platform/gui/PaneText.h"
#include "shell/tmHome.h"
#include "support/core/LoopbackServer.h"
#include "support/core/StubPerl.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

// The start-up write of "Home" fails (a folder stands where the settings file should be),
// so HomeDirectory stays empty: Edit Team, Create Team and the download all use the
// folder the program started in, and nothing lands in the root folder.
TEST(EmptyHome, TheStartFolderServesAsTheHomeFolder) {
    test::TempFolder start(true);
    std::filesystem::create_directory(start.file("qrdTeams.ini"));
    start.write("27ALnya.dat", "Yankees\r\n");
    const char* rootNames[] = {"/errlog.txt", "/kwyx.zip", "/kwyx.zip.part", "/27ALnya.dat"};
    std::vector<bool> inRoot;
    for (const char* name : rootNames) inRoot.push_back(std::filesystem::exists(name));

    test::ScriptedDialogs dlg;
    dlg.answerButton(Ok);  // "Unable to write to .../qrdTeams.ini."
    createForms();
    struct Destroy {
        ~Destroy() { destroyForms(); }
    } destroy;
    ASSERT_EQ(dlg.asked.size(), 1u);
    ASSERT_EQ(Form1->HomeDirectory, "");
    ASSERT_EQ(Form1->HomePath, "");
    Form1->show();

    // Edit Team loads the team file from the start folder.
    Form1->findChild<QLineEdit*>("Edit2")->setText("27ALnya");
    std::string loadedFrom;
    std::vector<std::string> lines;
    dlg.answerModal([&](QWidget*) {
        loadedFrom = Form4->CurrentFile;
        lines = paneLines(Form4->Memo1());
    });
    Form1->findChild<QPushButton*>("Button4")->click();
    EXPECT_EQ(loadedFrom, start.file("27ALnya.dat"));
    EXPECT_EQ(lines, std::vector<std::string>{"Yankees"});

    // Create Team asks before replacing the team file there, runs the script there, with
    // its log there, and checks what it wrote.
    dlg.answerButton(Yes);
    dlg.answerButton(Ok);
    {
        const test::StubPerl perl("pwd > where.txt\necho new > 27ALnya.dat\necho oops >&2\n");
        Form1->findChild<QPushButton*>("Button3")->click();
    }
    EXPECT_EQ(start.read("where.txt"), start.path() + "\n");
    EXPECT_EQ(start.read("27ALnya.dat"), "new\n");
    EXPECT_EQ(start.read("errlog.txt"), "oops\n");
    ASSERT_EQ(dlg.asked.size(), 4u);
    EXPECT_EQ(dlg.asked[2].text.toStdString(),
              "27ALnya.dat already exists in " + start.path() + ". Replace it?");
    EXPECT_TRUE(dlg.asked[3].text.contains("was written but has 2 problems;"));

    // The download puts kwyx.zip there.
    test::LoopbackServer server([](int fd, const std::string&) {
        test::LoopbackServer::send(fd, test::httpReply("HTTP/1.0 200 OK", "archive"));
    });
    Form10->SiteBase = server.url("/site");
    Form10->Timer1.setInterval(20);
    Form10->show();
    ASSERT_TRUE(QTest::qWaitFor([] { return !Form10->isVisible(); }, 20000));
    EXPECT_EQ(start.read("kwyx.zip"), "archive");

    for (std::size_t i = 0; i < std::size(rootNames); ++i)
        EXPECT_EQ(std::filesystem::exists(rootNames[i]), inRoot[i]) << rootNames[i];
    // The error at start-up, Edit Team's window and Create Team's two questions.
    EXPECT_EQ(dlg.asked.size(), 4u);
}

}  // namespace
}  // namespace rostrix
