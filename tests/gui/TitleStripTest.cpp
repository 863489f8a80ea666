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

// Where every control of the window sits, in the window's coordinates.
std::map<QWidget*, QPoint> placesIn(QWidget* window) {
    if (window->layout()) window->layout()->activate();
    std::map<QWidget*, QPoint> places;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->isWindow() && !stripOf(window)->isAncestorOf(w) && w != stripOf(window))
            places[w] = w->mapTo(window, QPoint());
    return places;
}

// The controls Tab reaches, in order.
QList<QWidget*> tabChain(QWidget* window) {
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) chain << w;
    return chain;
}

struct CloseCounter : QObject {
    int closes = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) ++closes;
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
    const std::pair<QWidget*, bool> windows[] = {
        {Form1, true},   {Form2, false}, {Form3, false}, {Form4, false}, {Form5, true},
        {Form6, false},  {Form7, false}, {Form8, false}, {Form10, false}, {Form14, false}};
    for (const auto& [window, minimise] : windows) {
        const std::string name = window->objectName().toStdString();
        const QString title = window->windowTitle();
        const QList<QWidget*> chain = tabChain(window);
        if (window->layout()) window->layout()->activate();
        const QSize size = window->minimumSize();
        window->winId();
        window->windowHandle()->setTransientParent(Form1 == window ? nullptr : Form1->windowHandle());
        std::map<QWidget*, QPoint> before;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (!w->isWindow()) before[w] = w->mapTo(window, QPoint());

        fitTitleBar(window);
        fitTitleBar(window);  // once only

        QWidget* strip = stripOf(window);
        ASSERT_NE(strip, nullptr) << name;
        EXPECT_EQ(window->findChildren<QWidget*>("TitleStrip").size(), 1) << name;
        const int height = static_cast<TitleStrip*>(strip)->stripHeight();
        EXPECT_GT(height, 10) << name;
        EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint) << name;
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint) << name;
        if (window != Form1) {
            EXPECT_EQ(window->windowHandle()->transientParent(), Form1->windowHandle()) << name;
        }

        // Its title, its close button, a minimise button only where the window asked.
        const auto* label = strip->findChild<QLabel*>("TitleStripTitle");
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->accessibleName(), title) << name;
        QStringList buttons;
        for (const QToolButton* b : strip->findChildren<QToolButton*>())
            buttons << b->accessibleName();
        EXPECT_EQ(buttons, minimise ? QStringList({"Minimise", "Close"}) : QStringList({"Close"}))
            << name;

        // Grown by the strip, every control moved down by exactly as much, the tab chain kept.
        const std::map<QWidget*, QPoint> after = placesIn(window);
        EXPECT_EQ(window->minimumSize(), size + QSize(0, height)) << name;
        EXPECT_EQ(window->maximumSize(), window->minimumSize()) << name;
        EXPECT_EQ(strip->geometry(), QRect(0, 0, window->width(), height)) << name;
        ASSERT_EQ(after.size(), before.size()) << name;
        for (const auto& [control, place] : before)
            EXPECT_EQ(after.at(control), place + QPoint(0, height))
                << name << " " << control->objectName().toStdString();
        EXPECT_EQ(tabChain(window), chain) << name;

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
    resizable.resize(300, 200);
    struct Case {
        const char* what;
        bool own;
        QWidget* window;
    };
    const Case cases[] = {
        {"editor", false, Form4},
        {"main window", false, Form1},
        {"a window that can be resized", true, &resizable},
    };
    for (const Case& c : cases) {
        setOwnTitleBars(c.own);
        const Qt::WindowFlags flags = c.window->windowFlags();
        const QSize min = c.window->minimumSize(), max = c.window->maximumSize();
        fitTitleBar(c.window);
        EXPECT_EQ(stripOf(c.window), nullptr) << c.what;
        EXPECT_EQ(c.window->windowFlags(), flags) << c.what;
        EXPECT_EQ(c.window->minimumSize(), min) << c.what;
        EXPECT_EQ(c.window->maximumSize(), max) << c.what;
    }
    // Offscreen, as on X11, Qt draws no title bar: the choice leaves own title bars off.
    setOwnTitleBars(false);
    showMainWindow();
    EXPECT_FALSE(ownTitleBars());
    EXPECT_EQ(stripOf(Form1), nullptr);
}

TEST_F(TitleStrips, AWindowOpenedModallyGetsItsStripAndKeepsItsOpener) {
    setOwnTitleBars(true);
    Form1->show();
    fitTitleBar(Form1);
    EXPECT_TRUE(Form1->isVisible()) << "the shown main window is shown again";
    test::ScriptedDialogs dlg;
    bool looked = false;
    dlg.answerModal([&](QWidget* w) {
        looked = true;
        EXPECT_EQ(w, Form7);
        EXPECT_NE(stripOf(w), nullptr);
        EXPECT_EQ(w->windowHandle()->transientParent(), Form1->windowHandle());
    });
    QTest::mouseClick(Form1->findChild<QPushButton*>("Button8"), Qt::LeftButton);
    EXPECT_TRUE(looked);
}

TEST_F(TitleStrips, AMessageBoxMakesRoomForItsStrip) {
    setOwnTitleBars(true);
    Form1->show();
    QtDialogs qt;
    bool looked = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        looked = true;
        auto* strip = static_cast<TitleStrip*>(stripOf(box));
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->findChild<QLabel*>("TitleStripTitle")->text(), "Run QRD Warning");
        EXPECT_EQ(box->minimumSize(), box->maximumSize());
        EXPECT_EQ(strip->width(), box->width());
        // Text, icon and buttons all below the strip and inside the box.
        for (QWidget* w : box->findChildren<QWidget*>()) {
            if (w == strip || strip->isAncestorOf(w) || w->isWindow() || !w->isVisible()) continue;
            const QRect place(w->mapTo(box, QPoint()), w->size());
            EXPECT_GE(place.top(), strip->stripHeight()) << w->metaObject()->className();
            EXPECT_TRUE(box->rect().contains(place)) << w->metaObject()->className();
        }
        box->reject();
    });
    qt.message(Form1, "Run QRD Warning", "Untitled.dat has changed.  Save Changes?",
               MsgIcon::Warning, Yes | No | Cancel);
    EXPECT_TRUE(looked);
}

TEST_F(TitleStrips, TheEditorsProblemPanelKeepsToTheMovedText) {
    setOwnTitleBars(true);
    fitTitleBar(Form4);
    QPlainTextEdit* memo = Form4->Memo1();
    const QRect home = memo->geometry();
    auto* panel = Form4->findChild<CheckPanel*>("CheckPanel1");
    ASSERT_NE(panel, nullptr);
    panel->showProblems({{1, 1, "Team title line", 1}});
    EXPECT_EQ(memo->y(), home.y());
    EXPECT_EQ(panel->geometry().bottom(), home.bottom());
    panel->closePanel();
    EXPECT_EQ(memo->geometry(), home);
}

}  // namespace
}  // namespace rostrix
