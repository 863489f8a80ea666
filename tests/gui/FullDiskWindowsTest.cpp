// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest/QTest>
#include <functional>

#include "platform/gui/PaneText.h"
#include "settings/HomeFolder.h"
#include "support/core/LoopbackServer.h"
#include "support/core/TinyFileSystem.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/UpdateWindows.h"
#include "format/TeamLayout.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

using test::ScriptedDialogs;
using test::TinyFileSystem;

// A team file of more than a page.
std::vector<std::string> bigTeam() {
    std::vector<std::string> lines = sampleTeamLines();
    const std::vector<std::string> sample = lines;
    lines.insert(lines.end(), sample.begin() + 1, sample.end());
    return lines;
}

// A window that replaces a file in the folder it is given, and the error box it shows
// when that fails.
struct WindowWriter {
    const char* what;
    const char* file;
    std::function<void(const std::string& folder, ScriptedDialogs& dlg)> write;
    std::function<std::string(const TinyFileSystem& fs)> error;
};

void saveInEditor(const std::string& folder, ScriptedDialogs& dlg) {
    TForm4 form;
    setPaneLines(form.Memo1(), bigTeam());
    form.CurrentFile = folder + "/team.dat";
    form.Memo1()->document()->setModified(true);
    dlg.answerButton(Ok);
    form.findChild<QToolButton*>("ToolButton4")->click();
}

void download(const std::string& folder, ScriptedDialogs& dlg) {
    test::LoopbackServer server([](int fd, const std::string&) {
        test::LoopbackServer::send(fd, test::httpReply("HTTP/1.0 200 OK", std::string(20000, 'z')));
    });
    test::UpdateWindows w(server.url("/site"));
    Form1->HomePath = folder;
    Form1->HomeDirectory = folder;
    settleHomeFolder(folder);
    struct Forget {
        ~Forget() { settleHomeFolder(""); }
    } forget;
    dlg.answerButton(Ok);
    Form10->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.asked.empty(); }, 20000));
    Form10->close();
}

// On a full disk, or with one page left, the windows that save a team file or download
// the program leave the old file byte for byte, show why, and leave no temporary file.
TEST(FullDiskWindows, SaveAndDownloadKeepTheOldFile) {
    if (const std::string why = TinyFileSystem::unavailable(); !why.empty()) GTEST_SKIP() << why;
    const WindowWriter writers[] = {
        {"editor Save", "team.dat", saveInEditor,
         [](const TinyFileSystem& fs) {
             return "Cannot create file " + fs.file("team.dat") + ": No space left on device.";
         }},
        {"download", "kwyx.zip", download,
         [](const TinyFileSystem& fs) {
             return "Unable to write to " + fs.file("kwyx.zip") + ": No space left on device.";
         }},
    };
    const std::string old = joinLinesCrlf(sampleTeamLines());
    for (const WindowWriter& w : writers) {
        for (const std::size_t room : {std::size_t{0}, std::size_t{4096}}) {
            const std::string at = std::string(w.what) + " with " + std::to_string(room) + " free";
            TinyFileSystem fs(128 * 1024);
            ASSERT_TRUE(fs.mounted()) << at;
            fs.write(w.file, old);
            fs.fillLeaving(room);
            const auto before = fs.entries();
            ScriptedDialogs dlg;
            w.write(fs.path(), dlg);
            ASSERT_EQ(dlg.asked.size(), 1u) << at;
            EXPECT_EQ(dlg.asked[0].text.toStdString(), w.error(fs)) << at;
            EXPECT_TRUE(fs.read(w.file) == old) << at;
            EXPECT_EQ(fs.entries(), before) << at;
        }
    }
}

}  // namespace
}  // namespace rostrix
