// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>
#include <functional>
#include <string>

class QLabel;
class QMainWindow;
class QWidget;

namespace Ui {
class TForm1;
}

namespace rostrix {

// The main window's two layouts, buttons or menus, switched with F2 and F3 and kept in
// the settings file, and the keys of its commands in both layouts.
class HomeLayout : public QObject {
    Q_OBJECT
public:
    HomeLayout(QMainWindow* window, Ui::TForm1* ui, std::function<std::string()> settingsPath);

    // The layout the settings file names, with the height of a laid-out window.
    void showSaved();
    // F2 (buttons) or F3 (menus): switches and saves the choice.
    void switchTo(bool buttons);
    // The builder's summary of the last Create Team under the window, where it stays until
    // the next Create Team or Clear; empty text hides it.
    void showRunSummary(const QString& text);
    // Called with 113 or 114 when F2 or F3 is released in the window or a listed control.
    std::function<void(int)> onLayoutKey;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(bool buttons, bool withHeight);
    void setClientHeight(int height);
    void bindCommandKeys();
    void explainTeamInputs();

    QMainWindow* window_;
    Ui::TForm1* ui_;
    std::function<std::string()> settingsPath_;
    QSet<QWidget*> keyControls_;
    QLabel* runSummary_ = nullptr;
};

}  // namespace rostrix
