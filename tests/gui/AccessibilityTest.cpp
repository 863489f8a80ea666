// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "app/Forms.h"
#include "careers/tmCareers.h"
#include "names/tmNames.h"
#include "names/tmNamesDuplicate.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "shell/tmHome.h"
#include "shell/tmPlayoffs.h"
#include "support/core/TempFolder.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

// Every control a user can reach with the keyboard has a name a screen reader can speak.
TEST(Accessibility, EveryFocusableControlHasASpokenName) {
    test::TempFolder home(true);
    createForms();
    TForm15 careers;
    const std::vector<QWidget*> forms{Form1, Form4, Form2,  Form3,  Form5,   Form6,
                                      Form7, Form8, Form10, Form14, &careers};
    for (QWidget* form : forms) {
        for (QWidget* w : form->findChildren<QWidget*>()) {
            // Tool bar buttons take no focus but are read out all the same.
            const bool toolButton =
                qobject_cast<QToolButton*>(w) && !w->objectName().startsWith(QLatin1String("qt_"));
            if ((w->focusPolicy() == Qt::NoFocus && !toolButton) || w->window() != form) continue;
            // Parts of compound controls speak through their owner.
            if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QMenuBar*>(w) ||
                qobject_cast<QMenu*>(w))
                continue;
            if (w->inherits("QAbstractScrollArea") == false && w->parentWidget() &&
                w->parentWidget()->inherits("QAbstractScrollArea"))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(a, nullptr) << w->objectName().toStdString();
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
                << form->objectName().toStdString() << "/" << w->objectName().toStdString() << " ("
                << w->metaObject()->className() << ")";
        }
    }
    destroyForms();
}

// The editor's tool bar and the main window's menu bar say what they are.
TEST(Accessibility, BarsHaveSpokenNames) {
    test::TempFolder home(true);
    createForms();
    QStringList named;
    for (QWidget* form : std::vector<QWidget*>{Form1, Form4, Form2, Form3, Form10}) {
        for (QWidget* bar : form->findChildren<QWidget*>()) {
            if (!qobject_cast<QToolBar*>(bar) && !qobject_cast<QMenuBar*>(bar)) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(bar);
            ASSERT_NE(a, nullptr);
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
                << bar->objectName().toStdString();
            named << bar->objectName();
        }
    }
    named.sort();
    EXPECT_EQ(named, QStringList({"MainMenu1", "ToolBar1"}));
    destroyForms();
}

}  // namespace
}  // namespace rostrix
