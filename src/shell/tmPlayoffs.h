// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm14;
}

// The Playoffs window: the playoff type and the bracket lists, laid out and waiting for
// their behaviour. Closing it only returns to the main window.
class TForm14 : public QDialog {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
    ~TForm14() override;

private:
    std::unique_ptr<Ui::TForm14> ui;
};
