// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <string>

namespace Ui {
class TForm1;
}
namespace rostrix {
class HomeLayout;
}

// The main window: home and Perl directories, the team information group with
// "Create Team", and the commands that open the other windows.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Settings carried by the main window, loaded when it is created.
    std::string HomeDirectory;
    std::string PerlDirectory;
    std::string DatabaseDirectory;
    std::string AutoFileNameSetting;
    std::int32_t FlashCount = 0;
    std::string HomePath;

    QTimer* Timer1;

    void FormCreate();
    void FormShow();
    void FormClose();
    void FormKeyUp(int key);
    void Button1Click();
    void Button2Click();
    void SpeedButton1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button7Click();
    void Button8Click();
    void Button10Click();
    void Button11Click();
    void CSpinEdit1Change();
    void CheckBox1Click();
    void Edit2Change();
    void Exit1Click();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandlers();

    Ui::TForm1* ui;
    rostrix::HomeLayout* layout_;
    bool centred_ = false;
};
