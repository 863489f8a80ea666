// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tmHomeLayout.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "platform/ProfileFile.h"
#include "platform/gui/CommandKeys.h"
#include "platform/gui/ErrorBox.h"
#include "settings/SettingsKeys.h"
#include "shell/HomeShortcuts.h"
#include "ui_tmHome.h"

namespace rostrix {

namespace {
constexpr int kClientWidth = 266;
constexpr int kLayoutHeight = 379;
}  // namespace

HomeLayout::HomeLayout(QMainWindow* window, Ui::TForm1* ui,
                       std::function<std::string()> settingsPath)
    : QObject(window), window_(window), ui_(ui), settingsPath_(std::move(settingsPath)) {
    keyControls_ = {ui->Button1, ui->Edit1,    ui->ComboBox1, ui->Edit2,   ui->CheckBox1,
                    ui->Button3, ui->Button4,  ui->Button5,   ui->Button7, ui->Button2,
                    ui->Button8, ui->Button11, ui->Button12};
    window->installEventFilter(this);
    for (QWidget* w : window->findChildren<QWidget*>()) w->installEventFilter(this);
    bindCommandKeys();
    explainTeamInputs();
}

// Tool tips say what each box of the team information takes. They are set after the
// window named its controls, so an edit keeps its label's text as its name.
void HomeLayout::explainTeamInputs() {
    ui_->Edit1->setToolTip(QStringLiteral(
        "The club's code in the statistics database, for example CIN or NYA (any case)."));
    ui_->Edit2->setToolTip(QStringLiteral(
        "The team file's name without .dat and without a folder, for example 01ALcin; "
        "the file is written in the home folder."));
    ui_->ComboBox2->setToolTip(QStringLiteral(
        "1: a line-up with a designated hitter; 0: without one, the pitcher bats ninth; "
        "empty: the season and league decide."));
}

void HomeLayout::showRunSummary(const QString& text) {
    if (!runSummary_) {
        if (text.isEmpty()) return;
        runSummary_ = new QLabel(window_);
        runSummary_->setObjectName(QStringLiteral("RunSummary"));
        runSummary_->setWordWrap(true);
        runSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        runSummary_->setFixedWidth(kClientWidth - 16);
        window_->statusBar()->setSizeGripEnabled(false);
        window_->statusBar()->addWidget(runSummary_, 1);
    }
    runSummary_->setText(text);
    runSummary_->setAccessibleName(text);
    runSummary_->setFixedHeight(runSummary_->heightForWidth(runSummary_->width()));
    window_->statusBar()->setVisible(!text.isEmpty());
}

// Each command's key works in both layouts: the menu's action belongs to the window as
// well, so it keeps its key while the menu bar is hidden.
void HomeLayout::bindCommandKeys() {
    // Alt+S opens the Setup menu, as Alt+F and Alt+E open the others.
    ui_->Setup1->setTitle(QStringLiteral("&Setup"));
    // Create Team has no menu item, and About's item is hidden with the menu bar: their
    // keys belong to actions of the window that press the buttons.
    const auto windowAction = [this](QAbstractButton* button, const char* name) {
        auto* action = new QAction(button->text(), window_);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, button, &QAbstractButton::click);
        return action;
    };
    const std::pair<QAction*, QAbstractButton*> commands[] = {
        {windowAction(ui_->Button3, "CreateTeamKey"), ui_->Button3},
        {ui_->Teams1, ui_->Button4},
        {ui_->CreateSeason1, ui_->Button11},
        {ui_->Names1, ui_->Button2},
        {ui_->Careers1, ui_->Button12},
        {ui_->CreateTeamPack1, ui_->Button8},
        {windowAction(ui_->Button5, "AboutKey"), ui_->Button5},
        {ui_->Exit1, nullptr}};
    for (const auto& [action, button] : commands) {
        const QString command = button ? button->objectName() : action->objectName();
        if (const char* keys = commandKeyOf(kHomeCommandKeys, command)) {
            if (button) action->setToolTip(button->text());
            setCommandKey(action, QString::fromLatin1(keys), button);
        }
        window_->addAction(action);
    }
}

void HomeLayout::showSaved() {
    const ProfileFile ini(settingsPath_());
    const std::string value = ini.read(settings::kSettings, settings::kShowMenus, "true");
    if (value == "false") apply(true, true);
    if (value == "true") apply(false, true);
}

void HomeLayout::apply(bool buttons, bool withHeight) {
    for (QWidget* b : {static_cast<QWidget*>(ui_->Button1), static_cast<QWidget*>(ui_->Button4),
                       static_cast<QWidget*>(ui_->Button7), static_cast<QWidget*>(ui_->Button2),
                       static_cast<QWidget*>(ui_->Button8), static_cast<QWidget*>(ui_->Button5),
                       static_cast<QWidget*>(ui_->Button12)})
        b->setVisible(buttons);
    for (QMenu* m : {ui_->File1, ui_->EditMenu1, ui_->Setup1})
        m->menuAction()->setVisible(!buttons);
    ui_->About1->setVisible(!buttons);
    // With every top-level item hidden, the empty bar would only take room.
    ui_->MainMenu1->setVisible(!buttons);
    if (withHeight) setClientHeight(kLayoutHeight);
}

void HomeLayout::setClientHeight(int height) {
    ui_->ClientArea->setFixedSize(kClientWidth, height);
}

void HomeLayout::switchTo(bool buttons) {
    apply(buttons, false);
    ProfileFile ini(settingsPath_());
    ini.writeNow(settings::kSettings, settings::kShowMenus, buttons ? "false" : "true");
    setClientHeight(kLayoutHeight);
}

bool HomeLayout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F2 && key->key() != Qt::Key_F3) return false;
    // Only the window and the listed controls act on F2/F3; in any other control (the
    // year field, the type list) the key stops there instead of reaching the window.
    if (watched != window_ && !keyControls_.contains(static_cast<QWidget*>(watched))) return true;
    if (!key->isAutoRepeat() && onLayoutKey)
        guarded([this, k = key->key()] { onLayoutKey(k == Qt::Key_F2 ? 113 : 114); });
    return true;
}

}  // namespace rostrix
