// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "update/HttpClient.h"

namespace Ui {
class TForm2;
}

// The About window: name, version, build date, credits, the home page link and the check
// for a new version.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The project site the link and the check use when set (tests point it at a local
    // server); empty means the main window's update site.
    std::string SiteBase;
    rostrix::THttpClient HttpClient1;

    void FormClick();
    void Label5Click();
    void Label6Click();

public slots:
    // Closing during a check ends the check quietly, so the window is free to open again.
    void reject() override;

protected:
    // Enter closes the window while no control has the focus, as Esc and a click do.
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::string siteBase();

    std::unique_ptr<Ui::TForm2> ui;
    bool checkCancelled_ = false;
};
