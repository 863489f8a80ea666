// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest/QTest>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "names/tmNamesDuplicate.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "shell/tmHome.h"
#include "shell/tmPlayoffs.h"
#include "support/core/TempFolder.h"
#include "format/TeamLayout.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

bool isCommand(QAccessible::Role role) {
    return role == QAccessible::PushButton || role == QAccessible::Button ||
           role == QAccessible::Link || role == QAccessible::CheckBox ||
           role == QAccessible::RadioButton || role == QAccessible::MenuItem ||
           role == QAccessible::ButtonMenu;
}

bool hasMnemonic(const QString& text) {
    const int amp = text.indexOf('&');
    return amp >= 0 && amp + 1 < text.size() && text[amp + 1] != '&';
}

// A menu item is reached by its own key, or by opening its menu with the menu's mnemonic.
bool menuItemHasKeyPath(const QAction* action) {
    if (!action->shortcut().isEmpty() || hasMnemonic(action->text())) return true;
    for (const QObject* o : action->associatedObjects())
        if (const auto* menu = qobject_cast<const QMenu*>(o))
            if (hasMnemonic(menu->title()) || !menu->menuAction()->shortcut().isEmpty())
                return true;
    return false;
}

bool widgetHasKeyPath(const QWidget* w) {
    if (w->focusPolicy() & Qt::TabFocus) return true;
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        if (hasMnemonic(b->text()) || !b->shortcut().isEmpty()) return true;
        if (const auto* t = qobject_cast<const QToolButton*>(w))
            return t->defaultAction() && !t->defaultAction()->shortcut().isEmpty();
    }
    return false;
}

// Walks the accessibility tree under iface and describes every fault a screen reader or
// keyboard user would meet: a focusable control without a name, a status line not
// reading its text, a command without a keyboard path, an item of a check list not
// exposed as checkable, a drop-down list that cannot be read.
void walk(QAccessibleInterface* iface, const QString& path, QStringList& faults, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 30) return;
    const QAccessible::State state = iface->state();
    if (state.invisible) return;
    const QAccessible::Role role = iface->role();
    const QString name = iface->text(QAccessible::Name).trimmed();
    QObject* object = iface->object();
    const QString where =
        path + "/" + (object && !object->objectName().isEmpty() ? object->objectName() : name);
    if (state.focusable && !state.disabled && name.isEmpty() && role != QAccessible::Client &&
        role != QAccessible::ScrollBar)
        faults << where + ": focusable without a name";
    // The labels that report a running status.
    const bool statusLine = object && object->property("statusLine").toBool();
    if (statusLine && role != QAccessible::StatusBar) faults << where + ": not read as a status";
    if (role == QAccessible::StatusBar)
        if (auto* label = qobject_cast<QLabel*>(object); label && name != label->text().trimmed())
            faults << where + ": status reads \"" + name + "\", shows \"" + label->text() + "\"";
    if (isCommand(role) && !state.disabled) {
        bool path = true;
        if (auto* action = qobject_cast<QAction*>(object))
            path = menuItemHasKeyPath(action);
        else if (auto* w = qobject_cast<QWidget*>(object))
            path = widgetHasKeyPath(w);
        if (!path) faults << where + ": a command without a keyboard path";
    }
    // A drop-down list as Qt reads it on Linux: named by its current item, labelled through
    // the relation its label's buddy gives (or named), its items in the tree.
    if (auto* box = qobject_cast<QComboBox*>(object); box && role == QAccessible::ComboBox) {
        if (iface->relations(QAccessible::Label).isEmpty() && box->accessibleName().isEmpty())
            faults << where + ": a list without a label";
        if (!box->currentText().isEmpty() && name != box->currentText())
            faults << where + ": its current item cannot be read";
        if (box->count() > 0 &&
            (!iface->childCount() || iface->child(0)->childCount() != box->count()))
            faults << where + ": its items are not in the tree";
    }
    if (role == QAccessible::List) {
        if (auto* list = qobject_cast<QListWidget*>(object))
            for (int i = 0; i < list->count(); ++i)
                if ((list->item(i)->flags() & Qt::ItemIsUserCheckable)) {
                    QAccessibleInterface* cell = iface->child(i);
                    if (!cell || !cell->state().checkable)
                        faults << where + ": a check list item not exposed as checkable";
                    break;
                }
    }
    // Menus are walked through their items; a list's many rows are alike.
    if (role == QAccessible::List || role == QAccessible::Table || role == QAccessible::ComboBox)
        return;
    for (int i = 0; i < iface->childCount(); ++i) walk(iface->child(i), where, faults, depth + 1);
}

QStringList faultsOf(QWidget* window) {
    window->show();
    // The download window would start fetching: it is looked at, not run.
    if (window == Form10) Form10->Timer1.stop();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
    QStringList faults;
    walk(QAccessible::queryAccessibleInterface(window), window->objectName(), faults);
    // The menus, whose items the tree only shows while a menu is open.
    for (QMenu* menu : window->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible() && !menuItemHasKeyPath(a))
                faults << window->objectName() + "/" + menu->title() + "/" + a->text() +
                              ": a command without a keyboard path";
    window->hide();
    QCoreApplication::processEvents();
    // A hidden window leaves no focused item behind.
    const std::function<void(QAccessibleInterface*)> focused = [&](QAccessibleInterface* i) {
        if (!i || !i->isValid()) return;
        if (i->state().focused)
            faults << window->objectName() + ": " + i->text(QAccessible::Name) +
                          " still focused after hiding";
        for (int c = 0; c < i->childCount(); ++c) focused(i->child(c));
    };
    focused(QAccessible::queryAccessibleInterface(window));
    return faults;
}

TEST(ScreenReader, EveryWindowHasNamesStatusTextsAndKeyboardPaths) {
    test::TempFolder home(true);
    home.write("a.dat", "*A\r\n");
    home.write("b.dat", "*A\r\n");
    createForms();
    for (const auto& [window, label] : std::vector<std::pair<QWidget*, const char*>>{
             {Form3, "Label2"}, {Form8, "Label6"}, {Form10, "Label1"}}) {
        QLabel* status = window->findChild<QLabel*>(label);
        ASSERT_NE(status, nullptr) << label;
        status->setProperty("statusLine", true);
        status->setText(QStringLiteral("Working"));
    }
    QStringList faults;
    // The main window in both layouts.
    for (Qt::Key layout : {Qt::Key_F2, Qt::Key_F3}) {
        Form1->show();
        QTest::keyClick(Form1, layout);
        faults += faultsOf(Form1);
    }
    // The editor with its problem list open and a filter chosen.
    Form4->show();
    Form4->findChild<QComboBox*>("ComboBox1")->setCurrentIndex(2);
    auto lines = sampleTeamLines();
    lines[1][59] = 'S';
    Form4->Memo1()->setPlainText(QString::fromLatin1(lines[1]));
    QTest::keyClick(Form4->Memo1(), Qt::Key_F7);
    faults += faultsOf(Form4);
    Form3->setTeamLines(sampleTeamLines());
    Form5->CurrentFolder = home.path();
    for (QWidget* w :
         std::vector<QWidget*>{Form2, Form3, Form5, Form6, Form7, Form8, Form10, Form14})
        faults += faultsOf(w);
    EXPECT_EQ(faults.join("\n").toStdString(), "");
    destroyForms();
}

// League and Type read as Qt reads a drop-down list on Linux: named by the item chosen,
// labelled by their labels, every item in the tree; opened through the list's action, an
// item is chosen with the keys. The counter is named and read with its number.
TEST(ScreenReader, MainWindowListsAndCounterSayWhatTheyAre) {
    test::TempFolder home(true);
    createForms();
    Form1->show();
    for (const auto& [control, label] : {std::pair{"ComboBox1", "League"}, {"ComboBox2", "Type"}}) {
        auto* box = Form1->findChild<QComboBox*>(control);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box);
        QStringList labels, items, shown;  // labels: the buddy, and the group box around it
        for (const auto& [other, relation] : list->relations(QAccessible::Label))
            labels << other->text(QAccessible::Name);
        EXPECT_TRUE(labels.contains(label)) << control;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        for (int i = 0; list->childCount() && i < list->child(0)->childCount(); ++i)
            shown << list->child(0)->child(i)->text(QAccessible::Name);
        EXPECT_EQ(shown, items) << control;
        list->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_Down, Qt::Key_Return})
            QTest::keyClick(box->view(), key);
        EXPECT_EQ(list->text(QAccessible::Name), items.value(1)) << control;
    }
    Form1->findChild<QLineEdit*>("Edit2")->setText("27ALnya");
    QAccessibleInterface* counter =
        QAccessible::queryAccessibleInterface(Form1->findChild<QLabel*>("Label3"));
    EXPECT_EQ(counter->text(QAccessible::Name), "Characters in the file name");
    EXPECT_EQ(counter->text(QAccessible::Description), "7");
    destroyForms();
}

}  // namespace
}  // namespace rostrix
