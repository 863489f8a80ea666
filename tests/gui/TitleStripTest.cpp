// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest/QTest>
#include <map>

#include "app/Forms.h"
#include "names/tmNames.h"
#include "names/tmNamesDuplicate.h"
#include "package/tmEMailTeam.h"
#include "package/tmZip.h"
#include "platform/gui/QtDialogs.h"
#include "platform/gui/TitleStrip.h"
#include "shell/tmHome.h"
#include "shell/tmPlayoffs.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "teamfile/tmCheckPanel.h"
#include "teamfile/tmEditor.h"
#include "teamfile/tmPlyrArchive.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

namespace rostrix {
namespace {

QWidget* stripOf(QWidget* window) {
    return window->findChild<QWidget*>("TitleStrip", Qt::FindDirectChildrenOnly);
}

// Where every control outside the strip sits in the window, and the controls Tab reaches.
std::pair<std::map<QWidget*, QPoint>, QList<QWidget*>> controlsOf(QWidget* window) {
    if (window->layout()) window->layout()->activate();
    std::map<QWidget*, QPoint> places;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->isWindow() &&
            !(stripOf(window) && (stripOf(window)->isAncestorOf(w) || w == stripOf(window))))
            places[w] = w->mapTo(window, QPoint());
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) chain << w;
    return {places, chain};
}

struct CloseCounter : QObject {
    int closes = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        closes += event->type() == QEvent::Close;
        return false;
    }
};

class TitleStrips : public ::testing::Test {
protected:
    TitleStrips() : home(true) { createForms(); }
    ~TitleStrips() override {
        setOwnTitleBars(false);
        destroyForms();
    }
    test::TempFolder home;
};

TEST_F(TitleStrips, EveryFixedSizeWindowGetsItsOwnTitleBar) {
    setOwnTitleBars(true);
    Form1->winId();
    const std::pair<QWidget*, QStringList> windows[] = {{Form1, {"Minimise", "Close"}},
                                                        {Form2, {"Close"}},
                                                        {Form3, {"Close"}},
                                                        {Form5, {"Minimise", "Close"}},
                                                        {Form6, {"Close"}},
                                                        {Form7, {"Close"}},
                                                        {Form8, {"Close"}},
                                                        {Form10, {"Close"}},
                                                        {Form14, {"Close"}}};
    for (const auto& [window, buttons] : windows) {
        const std::string name = window->objectName().toStdString();
        const QString title = window->windowTitle();
        const auto [places, chain] = controlsOf(window);
        const QSize size = window->minimumSize();
        window->winId();
        if (window != Form1) window->windowHandle()->setTransientParent(Form1->windowHandle());

        fitTitleBar(window);
        fitTitleBar(window);  // once only

        ASSERT_EQ(window->findChildren<QWidget*>("TitleStrip").size(), 1) << name;
        auto* strip = static_cast<TitleStrip*>(stripOf(window));
        const int height = strip->stripHeight();
        EXPECT_GT(height, 10) << name;
        EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint) << name;
        if (window != Form1) {
            EXPECT_EQ(window->windowHandle()->transientParent(), Form1->windowHandle()) << name;
        }
        const auto* label = strip->findChild<QLabel*>("TitleStripTitle");
        EXPECT_EQ(label->accessibleName(), title) << name;
        QStringList offered;  // never a maximise button
        for (const QToolButton* b : strip->findChildren<QToolButton*>())
            offered << b->accessibleName();
        EXPECT_EQ(offered, buttons) << name;

        // Grown by the strip, every control moved down by exactly as much, the tab chain kept.
        const auto [placesAfter, chainAfter] = controlsOf(window);
        EXPECT_EQ(window->minimumSize(), size + QSize(0, height)) << name;
        EXPECT_EQ(window->maximumSize(), window->minimumSize()) << name;
        EXPECT_EQ(strip->geometry(), QRect(0, 0, window->width(), height)) << name;
        ASSERT_EQ(placesAfter.size(), places.size()) << name;
        for (const auto& [control, place] : places)
            EXPECT_EQ(placesAfter.at(control), place + QPoint(0, height))
                << name << " " << control->objectName().toStdString();
        EXPECT_EQ(chainAfter, chain) << name;

        // A long title is cut to fit, a short one shown whole; the reader hears it whole.
        window->setWindowTitle(title + QString(200, 'x'));
        EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << name;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
        EXPECT_EQ(label->accessibleName(), title + QString(200, 'x')) << name;
        window->setWindowTitle("Ab");
        EXPECT_EQ(label->text(), "Ab") << name;

        // The close button closes the window as the desktop's close does.
        CloseCounter counter;
        window->installEventFilter(&counter);
        window->show();
        QTest::mouseClick(strip->findChild<QToolButton*>("TitleStripClose"), Qt::LeftButton);
        EXPECT_EQ(counter.closes, 1) << name;
        EXPECT_FALSE(window->isVisible()) << name;
        window->removeEventFilter(&counter);
    }
}

TEST_F(TitleStrips, NothingChangesWhereTheDesktopDrawsTitleBars) {
    QDialog resizable;
    const std::pair<bool, QWidget*> cases[] = {
        {false, Form4}, {false, Form1}, {true, &resizable}, {true, Form4}};
    for (const auto& [own, window] : cases) {
        setOwnTitleBars(own);
        const Qt::WindowFlags flags = window->windowFlags();
        const QSize min = window->minimumSize(), max = window->maximumSize();
        fitTitleBar(window);
        EXPECT_EQ(stripOf(window), nullptr) << own;
        EXPECT_EQ(window->windowFlags(), flags) << own;
        EXPECT_EQ(window->minimumSize(), min) << own;
        EXPECT_EQ(window->maximumSize(), max) << own;
    }
    // Offscreen, as on X11, Qt draws no title bar: the choice leaves own title bars off.
    setOwnTitleBars(false);
    showMainWindow();
    EXPECT_FALSE(ownTitleBars());
    EXPECT_EQ(stripOf(Form1), nullptr);
}

// On their way to the screen: a window shown modally, a message box.
TEST_F(TitleStrips, ModalWindowsAndMessageBoxesGetTheirStripsAsTheyOpen) {
    setOwnTitleBars(true);
    Form1->show();
    fitTitleBar(Form1);
    EXPECT_TRUE(Form1->isVisible()) << "the shown main window is shown again";
    test::ScriptedDialogs dlg;
    QWidget* opened = nullptr;
    dlg.answerModal([&](QWidget* w) {
        opened = w;
        EXPECT_NE(stripOf(w), nullptr);
        EXPECT_EQ(w->windowHandle()->transientParent(), Form1->windowHandle());
    });
    QTest::mouseClick(Form1->findChild<QPushButton*>("Button8"), Qt::LeftButton);
    EXPECT_EQ(opened, Form7);

    QMessageBox* box = nullptr;
    QTimer::singleShot(50, [&] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* strip = static_cast<TitleStrip*>(stripOf(box));
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->findChild<QLabel*>("TitleStripTitle")->text(), "Run QRD Warning");
        EXPECT_EQ(box->minimumSize(), box->maximumSize());
        EXPECT_EQ(strip->width(), box->width());
        // Text, icon and buttons all below the strip and inside the box.
        const QRect below = box->rect().adjusted(0, strip->stripHeight(), 0, 0);
        for (const auto& [w, place] : controlsOf(box).first) {
            EXPECT_TRUE(!w->isVisible() || below.contains(QRect(place, w->size())))
                << w->metaObject()->className();
        }
        box->reject();
    });
    QtDialogs().message(Form1, "Run QRD Warning", "Untitled.dat has changed.  Save Changes?",
                        MsgIcon::Warning, Yes | No | Cancel);
    EXPECT_NE(box, nullptr);
}

TEST_F(TitleStrips, TheEditorsProblemPanelKeepsToTheMovedText) {
    setOwnTitleBars(true);
    fitTitleBar(Form4);
    const QRect home = Form4->Memo1()->geometry();
    auto* panel = Form4->findChild<CheckPanel*>("CheckPanel1");
    panel->showProblems({{1, 1, "Team title line", 1}});
    EXPECT_EQ(Form4->Memo1()->y(), home.y());
    EXPECT_EQ(panel->geometry().bottom(), home.bottom());
    panel->closePanel();
    EXPECT_EQ(Form4->Memo1()->geometry(), home);
}

}  // namespace
}  // namespace rostrix
