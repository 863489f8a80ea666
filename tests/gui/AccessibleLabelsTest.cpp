// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/core/LoopbackServer.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/UpdateWindows.h"
#include "teamfile/ArchiveTestData.h"
#include "teamfile/tmPlyrArchive.h"

namespace rostrix {
namespace {

using test::UpdateWindows;

QAccessibleInterface* reader(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    EXPECT_NE(a, nullptr) << w->objectName().toStdString();
    return a;
}

// A screen reader reads a status label as a status and hears the text it shows now; a
// fixed name would hide the text and silence the notice Qt gives of each new one.
TEST(StatusLabels, SpeakTheirCurrentText) {
    UpdateWindows w("http://127.0.0.1:9/site");
    test::TempFolder archive;
    Form3->ArchiveDirectory = archive.path();
    Form3->setTeamLines(test::sampleTeam());
    auto* status = UpdateWindows::control(Form3, "Label2");
    QStringList heard;
    QObject::connect(Form3, &TForm3::statusShown, [&](const QString& text) {
        EXPECT_EQ(reader(status)->text(QAccessible::Name), text);
        heard << text;
    });
    QTest::mouseClick(UpdateWindows::control<QPushButton>(Form3, "Button1"), Qt::LeftButton);
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_EQ(heard.front(), "Starting write...");
    EXPECT_EQ(heard.back(), "Done! Filed 28 sections into player.dat.");

    auto* line = UpdateWindows::control(Form10, "Label1");
    EXPECT_EQ(reader(line)->text(QAccessible::Name), "Status:  ");
    Form10->HttpClient1Failure(THttpClient::kGet);
    EXPECT_EQ(reader(line)->text(QAccessible::Name), "Status:  Failed to download the Rostrix.");

    for (QLabel* label : {status, line}) {
        EXPECT_EQ(reader(label)->role(), QAccessible::StatusBar);
        EXPECT_TRUE(label->accessibleName().isEmpty());
    }
    EXPECT_EQ(reader(status)->text(QAccessible::Description), "Status");
}

TEST(AboutLinks, TabReachesThemAndEnterOrSpacePressesThem) {
    test::LoopbackServer server([](int fd, const std::string&) {
        test::LoopbackServer::send(fd, test::httpReply("HTTP/1.0 200 OK", "1.4.0"));
    });
    UpdateWindows w(server.url("/site"));
    test::ScriptedDialogs dlg;
    auto* link = UpdateWindows::control(Form2, "Label5");
    auto* check = UpdateWindows::control(Form2, "Label6");
    Form2->show();
    // The link shows the site in use once the window is shown.
    const QString linkText = link->text();
    const QFont linkFont = link->font();
    QApplication::setActiveWindow(Form2);
    QStringList reached;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : Form2,
                        Qt::Key_Tab);
        reached << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                : QString());
    }
    EXPECT_EQ(reached.count("Label5"), 2) << reached.join(' ').toStdString();
    EXPECT_EQ(reached.count("Label6"), 2) << reached.join(' ').toStdString();

    struct Press {
        QLabel* label;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString asked;  // empty: the key does nothing
    };
    const Press presses[] = {
        {link, Qt::Key_Return, Qt::NoModifier, "openUrl"},
        {link, Qt::Key_Space, Qt::NoModifier, "openUrl"},
        {link, Qt::Key_Enter, Qt::KeypadModifier, "openUrl"},
        {link, Qt::Key_Return, Qt::ControlModifier, ""},
        {link, Qt::Key_A, Qt::NoModifier, ""},
        {check, Qt::Key_Space, Qt::NoModifier, "message"},
        {check, Qt::Key_Return, Qt::NoModifier, "message"},
    };
    for (const Press& p : presses) {
        p.label->setFocus(Qt::TabFocusReason);
        if (p.asked == "openUrl") dlg.answerUrl(true);
        if (p.asked == "message") dlg.answerButton(Ok);
        dlg.asked.clear();
        QTest::keyClick(p.label, p.key, p.modifiers);
        ASSERT_EQ(dlg.asked.size(), p.asked.isEmpty() ? 0u : 1u)
            << p.label->objectName().toStdString();
        if (p.asked.isEmpty()) continue;
        EXPECT_EQ(dlg.asked[0].kind, p.asked);
        if (p.label == check) {
            EXPECT_EQ(dlg.asked[0].text, "No new updates are available.");
        }
        EXPECT_TRUE(Form2->isVisible());
    }

    // Screen readers know them as a link and a button they can press.
    const std::pair<QLabel*, QAccessible::Role> roles[] = {{link, QAccessible::Link},
                                                           {check, QAccessible::Button}};
    for (const auto& [label, role] : roles) {
        QAccessibleInterface* a = reader(label);
        EXPECT_EQ(a->role(), role);
        EXPECT_EQ(a->text(QAccessible::Name), label->text());
        EXPECT_TRUE(a->state().focusable);
        ASSERT_NE(a->actionInterface(), nullptr);
        EXPECT_TRUE(a->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }
    dlg.answerUrl(true);
    dlg.asked.clear();
    reader(link)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_EQ(dlg.asked[0].kind, "openUrl");

    // The look stays: same text, font, colour and cursor as before.
    EXPECT_EQ(link->text(), linkText);
    EXPECT_EQ(link->font(), linkFont);
    EXPECT_EQ(link->styleSheet(), "color: navy;");
    EXPECT_EQ(check->cursor().shape(), Qt::PointingHandCursor);
}

}  // namespace
}  // namespace rostrix
