// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "shell/tmHome.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "update/tmAbout.h"
#include "update/tmDownload.h"

namespace rostrix::test {

// The program's windows, created as at start-up in a fresh home folder, with the About
// and download windows pointed at siteBase.
struct UpdateWindows {
    TempFolder home{true};

    explicit UpdateWindows(const std::string& siteBase) {
        createForms();
        Form1->HomePath = home.path();
        Form2->SiteBase = siteBase;
        Form10->SiteBase = siteBase;
        Form10->Timer1.setInterval(20);  // the start delay, shortened
    }
    ~UpdateWindows() { destroyForms(); }

    template <class T = QLabel>
    static T* control(QWidget* window, const char* name) {
        return window->findChild<T*>(name);
    }
    static QString status() { return control(Form10, "Label1")->text(); }
    static int bar() { return control<QProgressBar>(Form10, "ProgressBar1")->value(); }

    // What the download window showed after each block: status line and bar.
    struct Step {
        QString status;
        int bar;
        int barMaximum;
    };
    std::vector<Step> steps;
    // Records every block's display, then runs also (if given) inside the handler.
    void watchBlocks(std::function<void()> also = {}) {
        auto original = Form10->HttpClient1.OnPacketRecvd;
        Form10->HttpClient1.OnPacketRecvd = [this, original, also] {
            original();
            auto* bar = control<QProgressBar>(Form10, "ProgressBar1");
            steps.push_back({status(), bar->value(), bar->maximum()});
            if (also) also();
        };
    }
    static bool waitHidden(QWidget* window, int ms = 20000) {
        return QTest::qWaitFor([window] { return !window->isVisible(); }, ms);
    }
    // Clicks the About window's download link, answers Yes to the download question and
    // lets the download window run until it closes.
    static void downloadFromAbout(ScriptedDialogs& dlg) {
        dlg.answerButton(Yes);
        dlg.answerModal([](QWidget* window) { EXPECT_TRUE(waitHidden(window)); });
        Form2->show();
        Form2->Label6Click();
    }
};

}  // namespace rostrix::test
