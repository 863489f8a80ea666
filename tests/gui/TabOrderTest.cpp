// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmEditor.h"

namespace rostrix {
namespace {

QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Moves the focus through window with the keyboard from first: Tab (or Shift+Tab), and in
// a box where Tab types a tab, Ctrl+Tab (or Ctrl+Shift+Tab). Lists the controls reached
// until the focus comes back to first.
QStringList tabChain(QWidget* window, const char* first, bool back) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    window->findChild<QWidget*>(first)->setFocus(Qt::TabFocusReason);
    QStringList reached{focusName()};
    for (int i = 0; i < 30; ++i) {
        QWidget* focus = QApplication::focusWidget();
        auto* box = qobject_cast<QPlainTextEdit*>(focus);
        const bool typesTab = box && !box->tabChangesFocus();
        Qt::KeyboardModifiers mods = back ? Qt::ShiftModifier : Qt::NoModifier;
        if (typesTab) mods |= Qt::ControlModifier;
        QTest::keyClick(focus, back && !typesTab ? Qt::Key_Backtab : Qt::Key_Tab, mods);
        if (focusName() == first) break;
        reached << focusName();
    }
    window->hide();
    return reached;
}

TEST(TabOrder, EveryControlIsReachedInReadingOrderBothWays) {
    test::TempFolder home(true);
    home.write("a.dat", "*A\r\n");
    test::ScriptedDialogs dlg;
    createForms();
    Form5->CurrentFolder = home.path();
    struct Case {
        QWidget* window;
        QStringList order;
    };
    const Case cases[] = {
        {Form7,
         {"Button1", "CheckListBox1", "Button6", "Button2", "Button3", "Button4", "Button5",
          "Button7", "CheckListBox2"}},
        {Form5,
         {"Button3", "Button1", "Button4", "CheckBox1", "CheckBox2", "CheckBox3", "Memo1",
          "Button2", "Button5", "CheckBox4", "CheckListBox1"}},
        {Form8, {"Edit1", "Edit4", "Edit2", "Button1", "ListBox1", "Memo1", "Edit3", "Button2"}},
    };
    for (const Case& c : cases) {
        const std::string name = c.order.first().toStdString();
        EXPECT_EQ(tabChain(c.window, name.c_str(), false), c.order)
            << c.window->objectName().toStdString();
        QStringList reversed{c.order.first()};
        for (auto it = c.order.rbegin(); it != c.order.rend() - 1; ++it) reversed << *it;
        EXPECT_EQ(tabChain(c.window, name.c_str(), true), reversed)
            << c.window->objectName().toStdString();
    }
    destroyForms();
}

// Tab types a tab in these boxes; Ctrl+Tab leaves, and the tool tip says so.
TEST(TabOrder, CtrlTabLeavesABoxWhereTabTypesATab) {
    test::TempFolder home(true);
    test::ScriptedDialogs dlg;
    createForms();
    for (QWidget* window : std::vector<QWidget*>{Form5, Form8}) {
        auto* box = window->findChild<QPlainTextEdit*>("Memo1");
        window->show();
        QApplication::setActiveWindow(window);
        box->setPlainText(QString());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(box->toPlainText(), "\t") << window->objectName().toStdString();
        EXPECT_TRUE(box->toolTip().contains("Ctrl+Tab")) << window->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_NE(QApplication::focusWidget(), box) << window->objectName().toStdString();
        EXPECT_EQ(box->toPlainText(), "\t");
        window->hide();
    }
    destroyForms();
}

}  // namespace
}  // namespace rostrix
